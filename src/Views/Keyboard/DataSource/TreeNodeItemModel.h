#pragma once

// An option tree on screen. How an editor shows one:
//
//   TreeNodeModel keycustomModel;                        // the root, a field of the controller
//   appendOptionTree(keycustomModel, firstGenerationOptionTree());
//   auto* model = new TreeNodeItemModel(&keycustomModel, tree);   // tree: a QTreeView
//   configureOptionTreeView(tree, model);                          // icon + text, 30-point rows
//   connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, ...);   // then selectedNode(tree)
//
// Rows are counted as the outline shows them: top rows and the leaves of expanded categories, from 0.

#include <QAbstractItemModel>
#include <QStyledItemDelegate>

#include "Views/Keyboard/DataSource/TreeNodeModel.h"

class QTreeView;

namespace keyloom {

// A read-only item model over any TreeNodeModel root (which must outlive it): one column, the node's name and icon.
// The tree is built before the model is made and never changes afterwards.
class TreeNodeItemModel : public QAbstractItemModel {
    Q_OBJECT

  public:
    explicit TreeNodeItemModel(const TreeNodeModel* root, QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The node of an index (nullptr for the invisible root or an index of another model), and back.
    const TreeNodeModel* node(const QModelIndex& index) const;
    QModelIndex indexOf(const TreeNodeModel* node) const;

  private:
    const TreeNodeModel* root_;
};

// Every row 30 points high.
class OptionTreeDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int kRowHeight = 30;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Sets the model, the delegate, single selection, no header, uniform 30-point rows, icons of 20 points.
void configureOptionTreeView(QTreeView* tree, TreeNodeItemModel* model);

// The visible rows of a tree view, as an outline counts them.
int numberOfVisibleRows(const QTreeView* tree);
QModelIndex indexAtVisibleRow(const QTreeView* tree, int row);      // invalid when out of range
int visibleRowOf(const QTreeView* tree, const QModelIndex& index);  // -1 when hidden or invalid
// The selected row, -1 for none; the selected node, nullptr for none.
int selectedVisibleRow(const QTreeView* tree);
const TreeNodeModel* selectedNode(const QTreeView* tree);
// Selects the row (and makes it current); out of range clears the selection.
void selectVisibleRow(QTreeView* tree, int row);
// Expands the row's category; nothing for a leaf or out of range.
void expandVisibleRow(QTreeView* tree, int row);
// Collapses every category; a selection left on a leaf that is now hidden is cleared with it.
void collapseAllRows(QTreeView* tree);

}  // namespace keyloom
