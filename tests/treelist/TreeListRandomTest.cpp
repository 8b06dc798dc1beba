// Thousands of random operations on a real control, checked after every step against a
// plain model of the tree: the rows, the row of every item and the item count.
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
};

class TreeListRandomTest : public TreeListTest {
protected:
    HTREEITEM Pick(std::mt19937& rng)
    {
        auto it = m_model.nodes.begin();
        std::advance(it, std::uniform_int_distribution<size_t>(0, m_model.nodes.size() - 1)(rng));
        return it->first;
    }

    void Step(std::mt19937& rng);

    void Check(const std::string& where)
    {
        std::vector<HTREEITEM> rows = m_model.Rows();
        ASSERT_EQ(Send(TVM_GETCOUNT), static_cast<LRESULT>(m_model.nodes.size())) << where;
        for (size_t r = 0; r < rows.size(); ++r)
            ASSERT_EQ(reinterpret_cast<HTREEITEM>(Send(TVM_GETROWITEM, 0, static_cast<LPARAM>(r))), rows[r])
                << where << ", row " << r;
        ASSERT_EQ(Send(TVM_GETROWITEM, 0, static_cast<LPARAM>(rows.size())), 0) << where << ": rows beyond";
        std::map<HTREEITEM, int> rowOf;
        for (size_t r = 0; r < rows.size(); ++r)
            rowOf[rows[r]] = static_cast<int>(r);
        for (const auto& node : m_model.nodes) {
            auto found = rowOf.find(node.first);
            ASSERT_EQ(Row(node.first), found == rowOf.end() ? -1 : found->second) << where;
        }
        HTREEITEM last = rows.empty() ? nullptr : rows.back();
        ASSERT_EQ(Next(nullptr, TVGN_LASTVISIBLE), last) << where;
    }

    Model m_model;
};

void TreeListRandomTest::Step(std::mt19937& rng)
{
    int op = std::uniform_int_distribution<int>(0, 9)(rng);
    if (m_model.nodes.empty() || (op <= 2 && m_model.nodes.size() < 120)) {
        HTREEITEM parent = m_model.nodes.empty() || rng() % 4 == 0 ? nullptr : Pick(rng);
        auto& siblings = m_model.Siblings(parent);
        std::string text(1, static_cast<char>('a' + rng() % 6));
        int where = static_cast<int>(rng() % 3);
        HTREEITEM after = where == 0 ? TVI_FIRST : TVI_LAST;
        if (where == 2 && !siblings.empty())
            after = siblings[rng() % siblings.size()];
        HTREEITEM item = Insert(text.c_str(), parent ? parent : TVI_ROOT, after);
        ASSERT_NE(item, nullptr);
        auto place = after == TVI_FIRST ? siblings.begin()
                   : after == TVI_LAST  ? siblings.end()
                                        : std::find(siblings.begin(), siblings.end(), after) + 1;
        siblings.insert(place, item);
        m_model.nodes[item].parent = parent;
        m_model.nodes[item].text = text;
        return;
    }
    HTREEITEM item = Pick(rng);
    Node& node = m_model.nodes[item];
    switch (op) {
    case 0: case 1: case 2: case 3:
        ASSERT_TRUE(Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
        m_model.Remove(item);
        break;
    case 4:
        Expand(item, TVE_EXPAND);
        if (!node.children.empty())
            node.expanded = true;
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
        ASSERT_TRUE(Send(TVM_SORTCHILDREN, recurse, reinterpret_cast<LPARAM>(parent)));
        m_model.Sort(parent == TVI_ROOT ? nullptr : item, recurse);
        break;
    }
    default: {
        UINT message = op == 8 ? TVM_SELECTITEM : TVM_ENSUREVISIBLE;
        ASSERT_TRUE(Send(message, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
        for (HTREEITEM a = node.parent; a; a = m_model.nodes[a].parent)
            m_model.nodes[a].expanded = true;
        break;
    }
    }
}

}  // namespace

TEST_F(TreeListRandomTest, RowsFollowAPlainModelThroughRandomOperations)
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
    }
}
