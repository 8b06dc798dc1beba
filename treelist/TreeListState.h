// The state of one "TreeList" window: item table, row table, columns, colours and the
// rest, reached through the window's extra data.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <utility>
#include <vector>

#include "treelist/AccessLock.h"
#include "treelist/TreeListMessages.h"
#include "utils/UniqueHandle.h"

namespace treelist {

using ItemId = unsigned;            // index into the item table; 0 = none

constexpr int kMaxColumns = 32;
constexpr int kMinColumnWidth = 16;
constexpr int kDefaultIndent = 19;
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
    int align;                  // 0 left, 1 centre, 2 right
    bool followsWidth;
    int left, right;
    TreeCell* cells;            // extra columns: indexed by item handle
};

struct TreeListState {
    HWND hwnd;
    HWND owner;
    AccessLock lock;

    velutils::ImageListHandle ownStateImages;   // the check boxes the control made
    HIMAGELIST stateImages;
    HIMAGELIST images;
    int stateImageWidth, stateImageHeight;
    int imageWidth, imageHeight;

    HFONT font;
    HFONT boldFont;
    HFONT measuredFont;
    int textHeight;

    velutils::BitmapHandle backBuffer;   // kept between paints, remade on a new size
    int backWidth, backHeight;

    velutils::WindowHandle editor;
    velutils::WindowHandle header;
    velutils::WindowHandle tooltip;     // destroyed with the control, whoever made it

    COLORREF colors[TVC_COUNT];
    bool colorSet[TVC_COUNT];

    int rowHeight;
    bool rowHeightSet;
    int indent;
    DWORD style;
    DWORD exStyle;

    TreeItem** items;
    unsigned capacity;
    unsigned itemCount;
    ItemId lastHandle;
    ItemId firstRoot, lastRoot;

    ItemId* rows;
    unsigned rowCapacity;
    unsigned rowCount;
    unsigned rowsValid;         // rows below this index are numbered

    int firstRow;
    int scrollX;
    int clientWidth, clientHeight;
    int headerHeight;
    int rowsFit, rowsFitPartial;
    int contentWidth;
    bool scrollBarsDirty;       // set by model changes, applied after the message
    int scrollBarsShown[6];     // the last range, page and position of both bars
    bool scrollBarsKnown;
    bool scrollBarsPosted;

    int columnCount;
    int followCount;
    TreeColumn columns[kMaxColumns];

    ItemId caret;
    int caretColumn;
    ItemId dropHilite;
    ItemId insertMark;
    bool insertMarkAfter;
    unsigned selectedCount;
    ItemId anchor;

    bool hasFocus;
    bool enabled;
    bool tearingDown;

    // The window procedure frames on the stack; the state outlives a DestroyWindow from
    // inside a notification until the last of them returns.
    int busy;
    bool destroyed;
    // Counts changes of the rows and deletions: a loop over rows that let the owner run
    // knows whether its row list still holds.
    unsigned changes;
    // Items freed and not yet reported with TVN_DELETEITEM: handle and lParam.
    std::vector<std::pair<ItemId, LPARAM>> deleted;
    char callbackText[260];     // an owner's text handed out by pointer

    size_t userDataSize;

    ItemId editItem;
    int editColumn;
    int editorKind;
    bool editTextCallback;
    bool focusBack;

    ItemId dragItem;
    int dragColumn;
    int dragButton;             // 0 none, 1 left, 2 right
    POINT dragStart;
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
