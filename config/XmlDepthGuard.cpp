#include "config/XmlDepthGuard.h"

#include "config/XmlScan.h"

namespace {

const size_t npos = XmlScan::npos;

// End of an element's start tag at `pos`; `empty` is set for "<name ... />".
// npos where TinyXML stops with an error.
size_t StartTagEnd(const XmlScan& scan, size_t pos, bool& empty)
{
    pos = scan.NameEnd(pos + 1);
    while (pos != npos) {
        pos = scan.SkipSpace(pos);
        char c = scan.At(pos);
        if (c == '\0')
            return npos;
        if (c == '/' || c == '>') {
            empty = c == '/';
            return empty && scan.At(pos + 1) != '>' ? npos : pos + (empty ? 2 : 1);
        }
        XmlScan::Attribute attribute;
        pos = scan.ReadAttribute(pos, attribute) ? attribute.end : npos;
    }
    return npos;
}

}  // namespace

// Follows TinyXML's reading node by node, counting open elements instead of recursing.
// Where TinyXML would stop with an error nothing deeper can happen, and so does this.
bool XmlDepthGuard::Accepts(const std::string& bytes)
{
    if (bytes.size() > kMaxBytes)
        return false;
    const XmlScan scan(bytes);
    int depth = 0;
    size_t pos = 0;
    while (pos < scan.Size()) {
        pos = scan.SkipSpace(pos);
        if (scan.At(pos) != '<') {
            if (depth == 0)
                return true;                       // the document ends at anything else
            pos = scan.TextEnd(pos, '<');
        } else if (depth > 0 && scan.StartsWith(pos, "</")) {
            --depth;
            pos = scan.NameEnd(pos + 2);           // "</name>", blanks before the ">"
            pos = pos == npos ? npos : scan.SkipSpace(pos);
            pos = scan.At(pos) == '>' ? pos + 1 : npos;
        } else if (scan.StartsElement(pos)) {
            bool empty = false;
            pos = StartTagEnd(scan, pos, empty);
            if (pos != npos && !empty && ++depth > kMaxDepth)
                return false;
        } else {
            pos = scan.OtherNodeEnd(pos);
        }
        if (pos == npos)
            return true;
    }
    return true;
}
