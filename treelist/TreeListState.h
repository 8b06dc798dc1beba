// The state of one "TreeList" window: item table, row table, columns, colours and the
// rest, reached through the window's extra data.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "treelist/AccessLock.h"
#include "treelist/AccessibleEvents.h"
#include "treelist/Metrics.h"
#include "treelist/TreeListMessages.h"
#include "utils/ComPtr.h"
#include "utils/UniqueHandle.h"

namespace treelist {

using ItemId = unsigned;            // index into the item table; 0 = none

class TreeListAccessible;

constexpr int kMaxColumns = 32;
constexpr unsigned kRowUnknown = 0xFFFFFFFFu;    // visible, row not yet numbered

enum CallbackFlag : unsigned char {
    CBK_TEXT = 1, CBK_IMAGE = 2, CBK_SELIMAGE = 4, CBK_CHILDREN = 8
};
enum ChildrenFlag : unsigned char {
    CHF_REAL = 1,        // decided by the real children
    CHF_FORCED = 2       // shown as having children
};
enum ColorFlag : unsigned char {
    CLF_EXISTS = 1,      // cells: the record was made
    CLF_TEXT = 16,
    CLF_BK = 32
};

struct TreeItem {
    LPARAM lParam;
    char* text;                 // own copy; null while the text is a callback
    UINT state;
    int image;
    int selectedImage;
    unsigned row;               // visible row + 1; 0 = not visible
    ItemId firstChild, lastChild, prevSibling, nextSibling, parent;
    unsigned textLength;
    unsigned short level;
    int textWidth;              // 0 = measure again
    unsigned char callbackFlags;
    unsigned char childrenFlags;
    unsigned char colorFlags;
    COLORREF textColor;
    COLORREF bkColor;
    // The owner's user data follows, zero-filled.
};

struct TreeCell {
    char* text;
    unsigned textLength;
    int textWidth;
    unsigned char colorFlags;
    COLORREF textColor;
    COLORREF bkColor;
};

struct TreeColumn {
    int align = 0;              // 0 left, 1 centre, 2 right
    bool followsWidth = false;
    int left = 0, right = 0;
    TreeCell* cells = nullptr;  // extra columns: indexed by item handle
};

struct TreeListState {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    AccessLock lock;
    UINT dpi = 96;                  // of the window, as the sizes were last taken
    Metrics metrics;                // at that DPI

    // The normal image list is the control's from TVM_SETIMAGELIST until the next one hands
    // it back, and goes with the control. The state image list in use is either the
    // owner's, which stays the owner's, or the check boxes the control made.
    velutils::ImageListHandle images;
    velutils::ImageListHandle ownStateImages;
    HIMAGELIST stateImages = nullptr;
    int stateImageWidth = 0, stateImageHeight = 0;
    int imageWidth = 0, imageHeight = 0;

    HFONT font = nullptr;           // the owner's, a shared one or one of dpiFonts
    HFONT boldFont = nullptr;
    HFONT ownerFont = nullptr;      // WM_SETFONT's; null: the default fonts at the DPI
    // The default fonts at a DPI other than the shared fonts' (a window on another monitor).
    velutils::FontHandle dpiFont;
    velutils::FontHandle dpiBoldFont;
    HFONT measuredFont = nullptr;
    int textHeight = 0;

    velutils::BitmapHandle backBuffer;   // kept between paints, remade on a new size
    int backWidth = 0, backHeight = 0;

    velutils::WindowHandle editor;
    velutils::WindowHandle header;
    velutils::WindowHandle tooltip;     // destroyed with the control, whoever made it

    COLORREF colors[TVC_COUNT] = {};
    bool colorSet[TVC_COUNT] = {};

    int rowHeight = 0;
    bool rowHeightSet = false;
    int indent = 0;
    bool indentSet = false;         // by the owner: its pixels, kept at another DPI
    DWORD style = 0;
    DWORD exStyle = 0;

    TreeItem** items = nullptr;
    unsigned capacity = 0;
    unsigned itemCount = 0;
    ItemId lastHandle = 0;
    ItemId firstRoot = 0, lastRoot = 0;

    ItemId* rows = nullptr;
    unsigned rowCapacity = 0;
    unsigned rowCount = 0;
    unsigned rowsValid = 0;         // rows below this index are numbered

    int firstRow = 0;
    int scrollX = 0;
    int clientWidth = 0, clientHeight = 0;
    int headerHeight = 0;
    int rowsFit = 0, rowsFitPartial = 0;
    int contentWidth = 0;
    bool scrollBarsDirty = false;   // set by model changes, applied after the message
    int scrollBarsShown[6] = {};    // the last range, page and position of both bars
    bool scrollBarsKnown = false;
    bool scrollBarsPosted = false;

    int columnCount = 0;
    int followCount = 0;
    TreeColumn columns[kMaxColumns] = {};

    ItemId caret = 0;
    int caretColumn = 0;
    ItemId dropHilite = 0;
    ItemId insertMark = 0;
    bool insertMarkAfter = false;
    unsigned selectedCount = 0;
    ItemId anchor = 0;

    bool hasFocus = false;
    bool enabled = false;
    bool tearingDown = false;

    // The window procedure frames on the stack; the state outlives a DestroyWindow from
    // inside a notification until the last of them returns.
    int busy = 0;
    bool destroyed = false;
    // Counts every change of the tree's shape: items inserted, deleted or moved, expanded
    // or collapsed (Recheck compares it).
    unsigned changes = 0;
    // Items freed and not yet reported with TVN_DELETEITEM: handle and lParam.
    std::vector<std::pair<ItemId, LPARAM>> deleted;
    char callbackText[260] = {};    // an owner's text handed out by pointer

    size_t userDataSize = 0;

    ItemId editItem = 0;
    int editColumn = 0;
    int editorKind = 0;
    bool editWholeCell = false;
    bool editTextCallback = false;
    bool focusBack = false;

    ItemId dragItem = 0;
    int dragColumn = 0;
    int dragButton = 0;             // 0 none, 1 left, 2 right
    POINT dragStart = {};

    // What screen readers see: the accessibility object, made when first asked for, and
    // the events of the message under way.
    velutils::ComPtr<TreeListAccessible> accessible;
    AccessibleEvents events;
};

TreeListState* GetState(HWND hwnd);

inline TreeItem* Item(const TreeListState& s, ItemId id)
{
    return (id != 0 && id < s.capacity) ? s.items[id] : nullptr;
}

// Handles as the protocol carries them in pointer-sized fields. The pseudo-handles may
// arrive sign-extended (as a 64-bit program's headers define them); anything else that
// does not fit 32 bits names no item.
constexpr unsigned kRoot = 0xFFFF0000u;
constexpr unsigned kFirst = 0xFFFF0001u;
constexpr unsigned kLast = 0xFFFF0002u;
constexpr unsigned kSort = 0xFFFF0003u;
constexpr unsigned kBadHandle = 0xFFFFFFFFu;

inline unsigned Handle32(UINT_PTR value)
{
    unsigned long long wide = value;
    unsigned long long high = wide >> 32;
    if (high != 0 && high != 0xFFFFFFFFull)
        return kBadHandle;
    return static_cast<unsigned>(wide);
}

inline ItemId IdFromParam(UINT_PTR value)
{
    unsigned h = Handle32(value);
    return h < kRoot ? h : 0;
}
inline ItemId IdFromHandle(HTREEITEM item) { return IdFromParam(reinterpret_cast<UINT_PTR>(item)); }
inline HTREEITEM HandleFromId(ItemId id) { return reinterpret_cast<HTREEITEM>(static_cast<UINT_PTR>(id)); }

inline bool ColumnExists(const TreeListState& s, int column)
{
    return column == 0 || (column > 0 && column < s.columnCount);
}

}  // namespace treelist
