// Replaces a file with new bytes so that it is either the old file, byte for byte, or
// the complete new one, and keeps the old file's identity: its attributes and its
// security (whether the server's service account may read it). The new bytes go to a
// file of their own beside it first, where they can be read back before the swap.
#pragma once
#include <string>

class ReplacingSave {
public:
    explicit ReplacingSave(const std::string& path);
    // The new file is removed unless it has replaced the old one.
    ~ReplacingSave();
    ReplacingSave(const ReplacingSave&) = delete;
    ReplacingSave& operator=(const ReplacingSave&) = delete;

    // Writes `bytes`, flushed to the disk, to a new file beside the path. Fails when the
    // file at the path is missing, a directory or read-only, or any write fails.
    bool Write(const std::string& bytes);
    // The new file's bytes as the disk gives them back.
    bool ReadBack(std::string& bytes) const;
    // Puts the new file in the old one's place in one step.
    bool Commit();

private:
    std::string m_path;
    std::string m_temporary;
    unsigned long m_attributes = 0;
};
