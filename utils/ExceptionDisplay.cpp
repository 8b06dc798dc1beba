#include "utils/ExceptionDisplay.h"

#include <windows.h>

#include "res/resource.h"
#include "utils/ErrorText.h"
#include "utils/TextFormat.h"
#include "utils/VelMsgBox.h"

namespace {

const size_t kTextBuffer = 512;

std::string Label(unsigned id, const char* english)
{
    return velutils::LoadResText(id, english, VelExceptBase::OwnModule(), false, false);
}

// The throw position as three "label<TAB>value" lines; empty without a position.
std::string PositionText(const ErrPos& pos)
{
    if (pos.File.empty())
        return std::string();
    return velutils::FormatBounded(260, "%s\t%s\n%s\t%s\n%s\t%d",
                                   Label(IDS_ERRPOS_FILE, "file").c_str(), pos.File.c_str(),
                                   Label(IDS_ERRPOS_FUNCTION, "function").c_str(), pos.Function.c_str(),
                                   Label(IDS_ERRPOS_LINE, "line").c_str(), pos.Line);
}

// "Additional datas:", "ErrCode:" with the code, the position lines.
std::string DetailText(const VelExceptBase& e)
{
    return velutils::FormatBounded(kTextBuffer, "%s\n%s\t%d\n%s",
                                   Label(IDS_ADDITIONAL_DATAS, "Additional datas:").c_str(),
                                   Label(IDS_ERRCODE, "ErrCode:").c_str(), e.GetErrCode(),
                                   PositionText(e.GetPos()).c_str());
}

void ShowBox(const std::string& caption, const std::string& mainText, const std::string& detail)
{
    // The main text stands out: 14 points, bold, dark red; face and character set stay
    // those of the box.
    velutils::_FontInf emphasis("", 14, velutils::_FontInf::Bold, RGB(164, 0, 0), velutils::_FontInf::KeepCharSet);
    velutils::VelMessageBox(nullptr, caption, velutils::_TextInfo(mainText, emphasis),
                            velutils::_TextInfo(detail), MB_TOPMOST);
}

}  // namespace

void ShowCaughtException(const VelExceptBase& e)
{
    std::string mainText = e.what();
    if (mainText.size() > kTextBuffer - 1)
        mainText.resize(kTextBuffer - 1);
    ShowBox(Label(IDS_ERROR_OCCURED, "Error occured:"), mainText, DetailText(e));
}

void ShowOtherException(const ErrPos& handler)
{
    VelExceptBase e(1, handler, nullptr);
    MessageBoxA(nullptr, e.what(), "Error", MB_OK | MB_TOPMOST);
}
