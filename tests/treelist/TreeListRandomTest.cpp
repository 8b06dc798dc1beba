// Thousands of random operations on a real control, checked after every step against a
// plain model of the tree: the rows, every item's row and relations, and the item count;
// and after every message by the tree checker.
#include "TreeListFixture.h"

#include <algorithm>
#include <random>

namespace {

struct Node {
    HTREEITEM parent = nullptr;
    std::vector<HTREEITEM> children;
    std::string text;
    bool expanded = false;
};

class Model {
public:
    std::map<HTREEITEM, Node> nodes;
    std::vector<HTREEITEM> roots;

    std::vector<HTREEITEM>& Siblings(HTREEITEM parent) { return parent ? nodes[parent].children : roots; }

    // Where TVI_SORT puts a text: before the first sibling that sorts after it.
    std::vector<HTREEITEM>::iterator SortedPlace(std::vector<HTREEITEM>& siblings, const std::string& text)
    {
        return std::find_if(siblings.begin(), siblings.end(), [&](HTREEITEM s) { return text < nodes[s].text; });
    }

    void Remove(HTREEITEM item)
    {
        std::vector<HTREEITEM> gone{ item };
        for (size_t i = 0; i < gone.size(); ++i)
            for (HTREEITEM child : nodes[gone[i]].children)
                gone.push_back(child);
        auto& siblings = Siblings(nodes[item].parent);
        siblings.erase(std::find(siblings.begin(), siblings.end(), item));
        for (HTREEITEM g : gone)
            nodes.erase(g);
    }

    void Sort(HTREEITEM parent, bool recurse)
    {
        std::vector<HTREEITEM> pending{ parent };
        while (!pending.empty()) {
            auto& list = Siblings(pending.back());
            pending.pop_back();
            std::stable_sort(list.begin(), list.end(),
                             [&](HTREEITEM a, HTREEITEM b) { return nodes[a].text < nodes[b].text; });
            if (recurse)
                pending.insert(pending.end(), list.begin(), list.end());
        }
    }

    std::vector<HTREEITEM> Rows()
    {
        std::vector<HTREEITEM> rows;
        std::vector<HTREEITEM> stack(roots.rbegin(), roots.rend());
        while (!stack.empty()) {
            HTREEITEM item = stack.back();
            stack.pop_back();
            rows.push_back(item);
            if (nodes[item].expanded)
                stack.insert(stack.end(), nodes[item].children.rbegin(), nodes[item].children.rend());
        }
        return rows;
    }

    // The sibling next to `item` (step +1 or -1), or none.
    HTREEITEM Beside(HTREEITEM item, int step)
    {
        auto& siblings = Siblings(nodes[item].parent);
        auto at = std::find(siblings.begin(), siblings.end(), item) - siblings.begin() + step;
        return at >= 0 && at < static_cast<long>(siblings.size()) ? siblings[at] : nullptr;
    }
};

class TreeListRandomTest : public TreeListTest {
protected:
    HTREEITEM Pick(std::mt19937& rng)
    {
        auto at = std::uniform_int_distribution<std::ptrdiff_t>(0, std::ptrdiff_t(m_model.nodes.size()) - 1)(rng);
        return std::next(m_model.nodes.begin(), at)->first;
    }

    void Step(std::mt19937& rng);
    void InsertSomewhere(std::mt19937& rng);

    void Check(const std::string& where)
    {
        std::vector<HTREEITEM> rows = m_model.Rows();
        ASSERT_EQ(Send(TVM_GETCOUNT), static_cast<LRESULT>(m_model.nodes.size())) << where;
        std::map<HTREEITEM, int> rowOf;
        for (size_t r = 0; r < rows.size(); ++r) {
            ASSERT_EQ(RowItem(static_cast<int>(r)), rows[r]) << where << ", row " << r;
            rowOf[rows[r]] = static_cast<int>(r);
        }
        ASSERT_EQ(RowItem(static_cast<int>(rows.size())), nullptr) << where << ": rows beyond";
        for (auto& node : m_model.nodes) {
            HTREEITEM item = node.first;
            int row = rowOf.count(item) ? rowOf[item] : -1;
            ASSERT_EQ(Row(item), row) << where;
            ASSERT_EQ(Next(item, TVGN_PARENT), node.second.parent) << where;
            ASSERT_EQ(Next(item, TVGN_CHILD), node.second.children.empty() ? nullptr : node.second.children[0]);
            ASSERT_EQ(Next(item, TVGN_NEXT), m_model.Beside(item, 1)) << where;
            ASSERT_EQ(Next(item, TVGN_PREVIOUS), m_model.Beside(item, -1)) << where;
            HTREEITEM below = row >= 0 && row + 1 < static_cast<int>(rows.size()) ? rows[row + 1] : nullptr;
            ASSERT_EQ(Next(item, TVGN_NEXTVISIBLE), below) << where;
            ASSERT_EQ(Next(item, TVGN_PREVIOUSVISIBLE), row > 0 ? rows[row - 1] : nullptr) << where;
        }
        ASSERT_EQ(Next(nullptr, TVGN_ROOT), m_model.roots.empty() ? nullptr : m_model.roots[0]) << where;
        ASSERT_EQ(Next(nullptr, TVGN_LASTVISIBLE), rows.empty() ? nullptr : rows.back()) << where;
    }

    Model m_model;
};

void TreeListRandomTest::InsertSomewhere(std::mt19937& rng)
{
    HTREEITEM parent = m_model.nodes.empty() || rng() % 4 == 0 ? nullptr : Pick(rng);
    auto& siblings = m_model.Siblings(parent);
    std::string text(1, static_cast<char>('a' + rng() % 6));
    int where = static_cast<int>(rng() % 4);
    HTREEITEM after = where == 0 ? TVI_FIRST : where == 1 ? TVI_SORT : TVI_LAST;
    if (where == 3 && !siblings.empty())
        after = siblings[rng() % siblings.size()];
    HTREEITEM item = Insert(text.c_str(), parent ? parent : TVI_ROOT, after);
    ASSERT_NE(item, nullptr);
    auto place = after == TVI_FIRST ? siblings.begin()
               : after == TVI_SORT  ? m_model.SortedPlace(siblings, text)
               : after == TVI_LAST  ? siblings.end()
                                    : std::find(siblings.begin(), siblings.end(), after) + 1;
    siblings.insert(place, item);
    m_model.nodes[item].parent = parent;
    m_model.nodes[item].text = text;
}

void TreeListRandomTest::Step(std::mt19937& rng)
{
    int op = std::uniform_int_distribution<int>(0, 9)(rng);
    if (m_model.nodes.empty() || (op <= 2 && m_model.nodes.size() < 120))
        return InsertSomewhere(rng);
    HTREEITEM item = Pick(rng);
    Node& node = m_model.nodes[item];
    switch (op) {
    case 0: case 1: case 2: case 3:
        ASSERT_TRUE(Send(TVM_DELETEITEM, 0, Ptr(item)));
        m_model.Remove(item);
        break;
    case 4:
        Expand(item, TVE_EXPAND);
        node.expanded = node.expanded || !node.children.empty();
        break;
    case 5:
        Expand(item, TVE_COLLAPSE);
        node.expanded = false;
        break;
    case 6:
        Expand(item, TVE_COLLAPSE | TVE_COLLAPSERESET);
        while (!node.children.empty())
            m_model.Remove(node.children.back());
        node.expanded = false;
        break;
    case 7: {
        bool recurse = rng() % 2 == 0;
        HTREEITEM parent = rng() % 3 == 0 ? TVI_ROOT : item;
        ASSERT_TRUE(Send(TVM_SORTCHILDREN, recurse, Ptr(parent)));
        m_model.Sort(parent == TVI_ROOT ? nullptr : item, recurse);
        break;
    }
    default:
        ASSERT_TRUE(Send(op == 8 ? TVM_SELECTITEM : TVM_ENSUREVISIBLE, TVGN_CARET, Ptr(item)));
        for (HTREEITEM a = node.parent; a; a = m_model.nodes[a].parent)
            m_model.nodes[a].expanded = true;
        break;
    }
}

}  // namespace

TEST_F(TreeListRandomTest, RowsAndRelationsFollowAPlainModelThroughRandomOperations)
{
    m_checkTree = true;
    for (unsigned seed : { 1u, 2u, 3u }) {
        Make(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
        m_model = Model();
        std::mt19937 rng(seed);
        for (int step = 0; step < 1500; ++step) {
            std::string where = "seed " + std::to_string(seed) + ", step " + std::to_string(step);
            ASSERT_NO_FATAL_FAILURE(Step(rng)) << where;
            ASSERT_NO_FATAL_FAILURE(Check(where));
        }
        ASSERT_TRUE(m_checkTree) << "the tree checker found a fault";
    }
}
