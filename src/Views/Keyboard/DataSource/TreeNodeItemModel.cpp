#include "Views/Keyboard/DataSource/TreeNodeItemModel.h"

#include <QIcon>
#include <QItemSelectionModel>
#include <QTreeView>
#include <functional>

#include "resources/KeyloomImages.h"

namespace keyloom {

TreeNodeItemModel::TreeNodeItemModel(const TreeNodeModel* root, QObject* parent)
    : QAbstractItemModel(parent), root_(root) {}

const TreeNodeModel* TreeNodeItemModel::node(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return nullptr;
    return static_cast<const TreeNodeModel*>(index.internalPointer());
}

QModelIndex TreeNodeItemModel::indexOf(const TreeNodeModel* n) const {
    if (!n || n == root_ || !n->parent()) return {};
    const int row = n->row();
    return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<TreeNodeModel*>(n));
}

QModelIndex TreeNodeItemModel::index(int row, int column, const QModelIndex& parent) const {
    const TreeNodeModel* p = parent.isValid() ? node(parent) : root_;
    if (!p || column != 0 || row < 0 || row >= int(p->childNodes().size())) return {};
    return createIndex(row, 0, p->childNodes()[row].get());
}

QModelIndex TreeNodeItemModel::parent(const QModelIndex& child) const {
    const TreeNodeModel* n = node(child);
    if (!n || n->parent() == root_) return {};
    return indexOf(n->parent());
}

int TreeNodeItemModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const TreeNodeModel* p = parent.isValid() ? node(parent) : root_;
    return p ? int(p->childNodes().size()) : 0;
}

int TreeNodeItemModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool TreeNodeItemModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0;
}

QVariant TreeNodeItemModel::data(const QModelIndex& index, int role) const {
    const TreeNodeModel* n = node(index);
    if (!n) return {};
    switch (role) {
        case Qt::DisplayRole:
            return n->name ? QString::fromStdString(*n->name) : QVariant();
        case Qt::DecorationRole: {
            if (!n->image) return {};
            const QPixmap pm = keyloomImage(QString::fromStdString(*n->image));
            return pm.isNull() ? QVariant() : QVariant(QIcon(pm));
        }
        default:
            return {};
    }
}

Qt::ItemFlags TreeNodeItemModel::flags(const QModelIndex& index) const {
    return node(index) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QSize OptionTreeDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight);
}

void configureOptionTreeView(QTreeView* tree, TreeNodeItemModel* model) {
    tree->setModel(model);
    tree->setItemDelegate(new OptionTreeDelegate(tree));
    tree->setHeaderHidden(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setUniformRowHeights(true);
    tree->setIconSize(QSize(20, 20));
}

namespace {

// Visits the visible rows in order; stops when visit returns false. Returns false when stopped.
bool walkVisible(const QTreeView* tree, const QModelIndex& parent,
                 const std::function<bool(const QModelIndex&)>& visit) {
    const QAbstractItemModel* model = tree->model();
    if (!model) return true;
    for (int r = 0; r < model->rowCount(parent); ++r) {
        const QModelIndex index = model->index(r, 0, parent);
        if (!visit(index)) return false;
        if (tree->isExpanded(index) && !walkVisible(tree, index, visit)) return false;
    }
    return true;
}

}  // namespace

int numberOfVisibleRows(const QTreeView* tree) {
    int n = 0;
    walkVisible(tree, tree->rootIndex(), [&](const QModelIndex&) { return ++n, true; });
    return n;
}

QModelIndex indexAtVisibleRow(const QTreeView* tree, int row) {
    QModelIndex found;
    int n = 0;
    if (row < 0) return found;
    walkVisible(tree, tree->rootIndex(), [&](const QModelIndex& index) {
        if (n++ != row) return true;
        found = index;
        return false;
    });
    return found;
}

int visibleRowOf(const QTreeView* tree, const QModelIndex& target) {
    if (!target.isValid()) return -1;
    int found = -1, n = 0;
    walkVisible(tree, tree->rootIndex(), [&](const QModelIndex& index) {
        if (index != target) return ++n, true;
        found = n;
        return false;
    });
    return found;
}

int selectedVisibleRow(const QTreeView* tree) {
    const QItemSelectionModel* selection = tree->selectionModel();
    if (!selection) return -1;
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? -1 : visibleRowOf(tree, rows.first());
}

const TreeNodeModel* selectedNode(const QTreeView* tree) {
    const auto* model = qobject_cast<const TreeNodeItemModel*>(tree->model());
    const QItemSelectionModel* selection = tree->selectionModel();
    if (!model || !selection) return nullptr;
    const QModelIndexList rows = selection->selectedRows();
    return rows.isEmpty() ? nullptr : model->node(rows.first());
}

void selectVisibleRow(QTreeView* tree, int row) {
    QItemSelectionModel* selection = tree->selectionModel();
    if (!selection) return;
    const QModelIndex index = indexAtVisibleRow(tree, row);
    if (!index.isValid()) {
        selection->clear();
        return;
    }
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tree->scrollTo(index);
}

void expandVisibleRow(QTreeView* tree, int row) {
    const QModelIndex index = indexAtVisibleRow(tree, row);
    if (index.isValid() && tree->model()->hasChildren(index)) tree->expand(index);
}

void collapseAllRows(QTreeView* tree) {
    tree->collapseAll();
    QItemSelectionModel* selection = tree->selectionModel();
    if (!selection) return;
    // A view keeps the selection of a row it hides; the outline would show nothing selected, so neither do we.
    const QModelIndexList rows = selection->selectedRows();
    if (!rows.isEmpty() && visibleRowOf(tree, rows.first()) == -1) selection->clear();
}

}  // namespace keyloom
