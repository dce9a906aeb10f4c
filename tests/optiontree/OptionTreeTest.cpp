#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"
#include "Views/Keyboard/DataSource/TreeViewData.h"
#include "resources/KeyloomImages.h"

using namespace keyloom;

namespace {

class OptionTree : public ::testing::Test {
  protected:
    void SetUp() override {
        appendOptionTree(root, firstGenerationOptionTree());
        tree.resize(260, 900);
        model = new TreeNodeItemModel(&root, &tree);
        tester =
            std::make_unique<QAbstractItemModelTester>(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        configureOptionTreeView(&tree, model);
        tree.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    }
    QString rowName(int row) const { return indexAtVisibleRow(&tree, row).data().toString(); }

    TreeNodeModel root;
    QTreeView tree;
    TreeNodeItemModel* model = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

}  // namespace

TEST_F(OptionTree, TopRowsAndChildren) {
    const struct {
        const char* name;
        const char* image;
        int64_t type;
        int children;
    } top[] = {
        {"Default", "icon_custom_default", 1, 0},
        {"Disable", "icon_custom_disable", 2, 0},
        {"Keyboard function", "icon_custom_keyboard", 3, 0},
        {"Macro", "icon_custom_macro", 4, 0},
        {"Mouse function", "icon_custom_mouse", 6, 8},
        {"Multimedia", "icon_custom_multimedia", 7, 7},
        {"Mac shortcuts", "icon_custom_mac", 8, 6},
    };
    ASSERT_EQ(model->rowCount(), 7);
    ASSERT_EQ(numberOfVisibleRows(&tree), 7);
    int nodes = 0;
    for (int row = 0; row < 7; ++row) {
        SCOPED_TRACE(top[row].name);
        const QModelIndex index = model->index(row, 0);
        const TreeNodeModel* n = model->node(index);
        EXPECT_EQ(index.data().toString(), top[row].name);
        EXPECT_EQ(n->image, top[row].image);
        EXPECT_EQ(n->type, top[row].type);
        EXPECT_EQ(n->parentType, 0);  // present, not absent
        EXPECT_EQ(model->rowCount(index), top[row].children);
        EXPECT_TRUE(hasKeyloomImage(QString::fromStdString(*n->image)));
        EXPECT_FALSE(index.data(Qt::DecorationRole).isNull());
        nodes += 1 + top[row].children;
        for (const auto& leaf : n->childNodes()) {
            EXPECT_EQ(leaf->level, 1);
            EXPECT_EQ(leaf->parentType, n->type);
            EXPECT_EQ(leaf->image, n->image);
            EXPECT_EQ(leaf->parent(), n);
        }
    }
    EXPECT_EQ(nodes, 28);
    EXPECT_FALSE(root.name || root.image || root.type || root.level || root.parentType);
}

TEST_F(OptionTree, LeafFields) {
    const struct {
        int category, leaf;
        const char* name;
        int64_t type;
    } leaves[] = {{4, 3, "Double Click", 4}, {5, 6, "Mute", 7}, {6, 0, "Brightness_decrement", 1}};
    for (const auto& l : leaves) {
        SCOPED_TRACE(l.name);
        const TreeNodeModel* n = model->node(model->index(l.leaf, 0, model->index(l.category, 0)));
        ASSERT_TRUE(n);
        EXPECT_EQ(n->name, l.name);
        EXPECT_EQ(n->type, l.type);
        EXPECT_EQ(model->indexOf(n).data().toString(), l.name);
    }
    // Asking a leaf for its children leaves it an empty list.
    const TreeNodeModel* mute = model->node(model->index(6, 0, model->index(5, 0)));
    EXPECT_TRUE(mute->childNodes().empty());
    EXPECT_TRUE(mute->hasChildNodesList());
}

TEST_F(OptionTree, RowsAreThirtyPointsHigh) {
    tree.expandAll();
    ASSERT_EQ(numberOfVisibleRows(&tree), 28);
    for (int row = 0; row < 28; ++row) EXPECT_EQ(tree.visualRect(indexAtVisibleRow(&tree, row)).height(), 30) << row;
}

TEST_F(OptionTree, VisibleRows) {
    expandVisibleRow(&tree, 5);  // Multimedia
    EXPECT_EQ(numberOfVisibleRows(&tree), 14);
    EXPECT_EQ(rowName(12), "Mute");  // 5 + its type 7
    EXPECT_EQ(rowName(13), "Mac shortcuts");
    expandVisibleRow(&tree, 12);  // a leaf: nothing
    EXPECT_EQ(numberOfVisibleRows(&tree), 14);
    selectVisibleRow(&tree, 12);
    EXPECT_EQ(selectedVisibleRow(&tree), 12);
    EXPECT_EQ(selectedNode(&tree)->name, "Mute");
    expandVisibleRow(&tree, 4);  // Mouse function above it moves it down
    EXPECT_EQ(selectedVisibleRow(&tree), 20);
    EXPECT_EQ(visibleRowOf(&tree, QModelIndex()), -1);
    EXPECT_FALSE(indexAtVisibleRow(&tree, 99).isValid());
    selectVisibleRow(&tree, 99);
    EXPECT_EQ(selectedVisibleRow(&tree), -1);
    EXPECT_EQ(selectedNode(&tree), nullptr);
}

// Collapsing every category clears a selection left on a leaf it hides, and says so; a top row stays selected.
TEST_F(OptionTree, CollapsingAllClearsAHiddenSelection) {
    expandVisibleRow(&tree, 4);
    selectVisibleRow(&tree, 4 + 3);  // Right Click
    ASSERT_EQ(selectedNode(&tree)->name, "Right Click");
    QSignalSpy changed(tree.selectionModel(), &QItemSelectionModel::selectionChanged);
    collapseAllRows(&tree);
    EXPECT_EQ(numberOfVisibleRows(&tree), 7);
    EXPECT_EQ(selectedNode(&tree), nullptr);
    EXPECT_EQ(selectedVisibleRow(&tree), -1);
    EXPECT_EQ(changed.count(), 1);

    selectVisibleRow(&tree, 1);
    expandVisibleRow(&tree, 6);
    collapseAllRows(&tree);
    EXPECT_EQ(selectedNode(&tree)->name, "Disable");
}

// Two roots built from one table hold their own nodes; a clicked row is the selection.
TEST_F(OptionTree, SecondTreeAndClicks) {
    TreeNodeModel knob;
    appendOptionTree(knob, firstGenerationOptionTree());
    ASSERT_EQ(knob.childNodes().size(), 7u);
    EXPECT_NE(knob.childNodes()[4]->childNodes()[0].get(), root.childNodes()[4]->childNodes()[0].get());
    EXPECT_EQ(knob.childNodes()[4]->childNodes()[0]->name, root.childNodes()[4]->childNodes()[0]->name);

    expandVisibleRow(&tree, 6);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier,
                      tree.visualRect(indexAtVisibleRow(&tree, 6 + 4)).center());
    EXPECT_EQ(selectedNode(&tree)->name, "Copy");
    EXPECT_EQ(selectedVisibleRow(&tree), 10);
}
