// The "TreeList" window's protocol beyond the standard tree-view one: its own messages,
// style bits, item-mask bits and hit-test flags. An owner includes this header.
#pragma once
#include <windows.h>
#include <commctrl.h>

#define TREELIST_CLASSNAME "TreeList"

// Messages of the control's own (the standard tree-view messages keep their numbers).
#define TVM_GETUSERDATA        (TV_FIRST + 0x3D)   // lParam = item; pointer to its user data
#define TVM_GETUSERDATASIZE    (TV_FIRST + 0x3E)
#define TVM_SETUSERDATASIZE    (TV_FIRST + 0x3F)   // lParam = size, 0..0x1000000
#define TVM_GETCOLUMN          (TV_FIRST + 0x40)   // wParam = column, lParam = HDITEMA*
#define TVM_SETCOLUMN          (TV_FIRST + 0x41)   // wParam = column, lParam = HDITEMA*
#define TVM_GETITEMROW         (TV_FIRST + 0x44)   // lParam = item; row or -1
#define TVM_GETROWITEM         (TV_FIRST + 0x45)   // lParam = row; item or 0
#define TVM_GETCELLTEXTCOLOR   (TV_FIRST + 0x46)   // wParam = item, lParam = column
#define TVM_SETCELLTEXTCOLOR   (TV_FIRST + 0x47)   // wParam = TVCELL(item, column), lParam = colour
#define TVM_GETCELLBKCOLOR     (TV_FIRST + 0x48)
#define TVM_SETCELLBKCOLOR     (TV_FIRST + 0x49)
#define TVM_INSERTCOLUMN       (TV_FIRST + 0x4C)   // wParam = position, lParam = TVCOLUMNA*
#define TVM_DELETECOLUMN       (TV_FIRST + 0x4D)   // wParam = column
#define TVM_GETCOLUMNCOUNT     (TV_FIRST + 0x4E)
#define TVM_GETHEADER          (TV_FIRST + 0x4F)

// wParam = colour index 0..10; index 0 is the background of TVM_SETBKCOLOR/TVM_GETBKCOLOR.
#define TVM_SETCOLOR           (TV_FIRST + 0x1D)
#define TVM_GETCOLOR           (TV_FIRST + 0x1F)

// wParam of TVM_SETCELLTEXTCOLOR / TVM_SETCELLBKCOLOR: item in bits 0-23, column in 24-31.
#define TVCELL(item, column) \
    ((WPARAM)(((UINT_PTR)(item) & 0xFFFFFF) | ((UINT_PTR)((column) & 0xFF) << 24)))

// The column record of TVM_INSERTCOLUMN: mask LVCF_FMT, LVCF_WIDTH, LVCF_TEXT, LVCF_IMAGE.
typedef LVCOLUMNA TVCOLUMNA;
#define TVCF_FMT    LVCF_FMT
#define TVCF_WIDTH  LVCF_WIDTH
#define TVCF_TEXT   LVCF_TEXT
#define TVCF_IMAGE  LVCF_IMAGE

// TVITEMA mask bits: cChildren carries a column number, and (TVM_GETITEM) pszText
// receives a pointer to the control's own copy of the text.
#define TVIF_SUBITEM   0x8000
#define TVIF_TEXTPTR   0x80000000u

// TVIS_ bit of the control: the item is expanded only partially.
#define TVIS_EXPANDPARTIAL_TL 0x80

// TVM_SELECTITEM: flag that deselects the other items (several may be selected), and the
// column of the caret in bits 24-31.
#define TVSI_DESELECTOTHERS 0x8000
#define TVSI_COLUMN(column) ((WPARAM)((column) & 0xFF) << 24)

// TVM_EDITLABEL wParam: column in bits 0-28, editor kind in bits 29-30, whole-cell flag.
#define TVLE_EDIT          0x00000000u
#define TVLE_COMBO         0x20000000u
#define TVLE_DROPLIST      0x40000000u
#define TVLE_FULLCELL      0x80000000u
#define TVLE_COLUMNMASK    0x1FFFFFFFu

// Private notification codes of the editor to the control (WM_COMMAND, id 3).
#define TVLE_ID            3
#define TVLE_NOTIFY_OK     0x1578
#define TVLE_NOTIFY_CANCEL 0x1579

// Window style: no vertical scroll range.
#define TVS_NOSCROLL_TL    0x2000

// Extended style bits of the control (TVM_SETEXTENDEDSTYLE).
#define TVS_EX_MULTISELECT_TL    0x00001000
#define TVS_EX_EVENHEIGHT_TL     0x00004000
#define TVS_EX_GRIDLINES_TL      0x00010000
#define TVS_EX_ALTERNATEROWS_TL  0x00020000
#define TVS_EX_CELLSELECT_TL     0x00040000
#define TVS_EX_FULLROWSELECT_TL  0x00080000

// Hit-test flags for the extra columns; the column is in bits 24-31.
#define TVHT_ONSUBICON      0x00200000
#define TVHT_ONSUBLABEL     0x00400000
#define TVHT_ONSUBRIGHT     0x00100000
#define TVHT_BEYONDCOLUMNS  0x00800000
#define TVHT_COLUMN(flags)  ((int)(((flags) >> 24) & 0xFF))

// Colour slots of TVM_SETCOLOR / TVM_GETCOLOR.
enum TreeListColor {
    TVC_BK = 0, TVC_ODD = 1, TVC_EVEN = 2, TVC_FRAME = 3, TVC_TEXT = 4, TVC_LINE = 5,
    TVC_BOX = 6, TVC_TRACK = 7, TVC_MARK = 8, TVC_MARKEVEN = 9, TVC_INSERT = 10,
    TVC_COUNT = 11
};
