// Writes an XML document over a file so that the file is either the old one, byte for
// byte, or the complete new one: never a half-written mix.
#pragma once
#include <string>

class TiXmlDocument;

// Writes `document` to a new file beside `path` and moves it over `path` in one step,
// with write-through. Fails, leaving `path` as it was and no new file behind, when
// `path` is missing or read-only, or when any write, flush or the replacement fails.
bool SaveDocumentReplacing(const TiXmlDocument& document, const std::string& path);
