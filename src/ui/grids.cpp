#include "ui/grids.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace tolvane::ui {

// ============================================================== DataSource

DataSource::DataSource(db::Query& q) : q_(q) { q_.addObserver(this); }

DataSource::~DataSource() {
    q_.removeObserver(this);
    const auto grids = grids_;
    for (DBGrid* g : grids) g->detached();
}

void DataSource::queryOpened(db::Query&) {
    if (moving_) return;
    for (DBGrid* g : grids_) g->reload();
}

void DataSource::queryClosed(db::Query&) {
    if (moving_) return;
    for (DBGrid* g : grids_) g->reload();
}

void DataSource::cursorMoved(db::Query&) {
    if (moving_) return;
    for (DBGrid* g : grids_) g->followCursor();
}

// ============================================================== DBGrid

class DBGridModel : public QAbstractTableModel {
public:
    explicit DBGridModel(DBGrid* g) : QAbstractTableModel(g), g_(g) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : g_->rowCount_;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(g_->columns_.size());
    }
    QVariant data(const QModelIndex& i, int role) const override {
        if (!i.isValid()) return {};
        if (role == Qt::DisplayRole) return g_->cellText(i.row(), i.column());
        if (role == Qt::TextAlignmentRole)
            return int(g_->columns_[i.column()].alignment | Qt::AlignVCenter);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
        if (role == Qt::DisplayRole) return g_->columns_[section].title;
        if (role == Qt::TextAlignmentRole)
            return int(g_->columns_[section].titleAlignment | Qt::AlignVCenter);
        return {};
    }
    void reset() {
        beginResetModel();
        endResetModel();
    }
    void titlesChanged() { emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1); }

private:
    DBGrid* g_;
};

// Cell texts stand 2 pixels from the cell's sides and are cut at its edge, not
// shortened with an ellipsis; background, selection and focus are the style's.
class DBGridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& i) const override {
        QStyleOptionViewItem o = opt;
        initStyleOption(&o, i);
        const QString text = o.text;
        o.text.clear();
        const QWidget* w = o.widget;
        QStyle* style = w != nullptr ? w->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &o, p, w);
        const QPalette::ColorGroup group = !(o.state & QStyle::State_Enabled) ? QPalette::Disabled
                                           : (o.state & QStyle::State_Active) ? QPalette::Normal
                                                                              : QPalette::Inactive;
        const bool selected = (o.state & QStyle::State_Selected) != 0;
        p->save();
        p->setFont(o.font);
        p->setPen(o.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(o.rect.adjusted(2, 0, -2, 0), int(o.displayAlignment), text);
        p->restore();
    }
};

DBGrid::DBGrid(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QTableView(parent), Control(this), model_(new DBGridModel(this)) {
    setObjectName(name);
    setGeometry(l, t, std::max(0, w), std::max(0, h));
    setModel(model_);
    setItemDelegate(new DBGridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    // The rows paint their own background (paintEvent), so a scroll only marks
    // the rows for repainting instead of copying the window's pixels at once:
    // stepping through thousands of rows costs no copy per step.
    viewport()->setAutoFillBackground(false);
    show();
}

DBGrid::~DBGrid() { setDataSource(nullptr); }

void DBGrid::paintEvent(QPaintEvent* e) {
    {
        QPainter p(viewport());
        p.fillRect(e->rect(), viewport()->palette().brush(viewport()->backgroundRole()));
    }
    QTableView::paintEvent(e);
}

void DBGrid::setColumns(std::vector<GridColumn> columns) {
    columns_ = std::move(columns);
    reload();
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i)
        setColumnWidth(i, columns_[i].width);
}

void DBGrid::setColumnTitle(int index, const QString& title) {
    if (index < 0 || index >= static_cast<int>(columns_.size())) return;
    columns_[index].title = title;
    model_->titlesChanged();
}

void DBGrid::setDataSource(DataSource* ds) {
    if (ds_ == ds) return;
    if (ds_ != nullptr) std::erase(ds_->grids_, this);
    ds_ = ds;
    if (ds_ != nullptr) ds_->grids_.push_back(this);
    reload();
}

void DBGrid::detached() {
    ds_ = nullptr;
    reload();
}

// Only the number of rows is taken here; cell texts are read from the query
// when they are shown (cellText), so a grid holds no copy of its rows.
void DBGrid::reload() {
    rowCount_ = ds_ != nullptr && ds_->q_.active() && !columns_.empty() ? ds_->q_.recordCount() : 0;
    model_->reset();
    for (int i = 0; i < static_cast<int>(columns_.size()); ++i)
        setColumnWidth(i, columns_[i].width);
    followCursor();
}

void DBGrid::followCursor() {
    if (ds_ == nullptr || !ds_->q_.active()) return;
    const int r = ds_->q_.recNo();
    following_ = true;
    if (r >= 0 && r < rowCount_) {
        const QModelIndex i = model_->index(r, std::max(0, currentIndex().column()));
        setCurrentIndex(i);
        scrollTo(i);
    }
    following_ = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || ds_ == nullptr || !current.isValid() || !ds_->q_.active()) return;
    if (current.row() == ds_->q_.recNo()) return;
    // The user moved: the cursor moves with the grid; the other grids follow.
    ds_->moving_ = true;
    ds_->q_.setRecNo(current.row());
    ds_->moving_ = false;
    for (DBGrid* g : ds_->grids_)
        if (g != this) g->followCursor();
}

QString DBGrid::cellText(int row, int column) const {
    if (row < 0 || row >= rowCount_ || column < 0 || column >= static_cast<int>(columns_.size()) ||
        ds_ == nullptr || !ds_->q_.active())
        return QString();
    db::Query& q = ds_->q_;
    // Reading another row moves the cursor; put it back exactly as it was.
    const int pos = q.recNo();
    const bool bof = q.bof(), eof = q.eof();
    const bool moving = ds_->moving_;
    ds_->moving_ = true;
    QString text;
    try {
        if (row != pos) q.setRecNo(row);
        const GridColumn& c = columns_[column];
        db::Field& f = q.fieldByName(c.fieldName.toStdString());
        text = c.getText ? c.getText(f) : QString::fromStdString(f.asString());
    } catch (const std::exception&) {
        // A value that cannot be shown leaves its cell empty.
        text.clear();
    }
    if (row != pos) {
        if (bof) q.first();
        else if (eof) q.last();
        else q.setRecNo(pos);
    }
    ds_->moving_ = moving;
    return text;
}

int DBGrid::rowCount() const { return rowCount_; }

int DBGrid::currentRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

void DBGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    dblClickRow_ = indexAt(e->position().toPoint()).row();
    if (e->button() == Qt::LeftButton) run(OnDblClick);
}

// ============================================================== StringGrid

class StringGridModel : public QAbstractTableModel {
public:
    explicit StringGridModel(StringGrid* g) : QAbstractTableModel(g), g_(g) {}
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows_;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : cols_;
    }
    QVariant data(const QModelIndex& i, int role) const override {
        if (!i.isValid() || role != Qt::DisplayRole) return {};
        return text(i.column(), i.row());
    }
    Qt::ItemFlags flags(const QModelIndex& i) const override {
        if (!i.isValid()) return Qt::NoItemFlags;
        if (i.row() < g_->fixedRows() || i.column() < g_->fixedCols()) return Qt::ItemIsEnabled;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }
    QString text(int c, int r) const {
        const auto& row = r < static_cast<int>(cells_.size()) ? cells_[r] : empty_;
        return c < static_cast<int>(row.size()) ? row[c] : QString();
    }
    void setText(int c, int r, const QString& t) {
        if (c < 0 || r < 0 || c >= cols_ || r >= rows_) return;
        if (static_cast<int>(cells_.size()) <= r) cells_.resize(r + 1);
        if (static_cast<int>(cells_[r].size()) <= c) cells_[r].resize(c + 1);
        cells_[r][c] = t;
        emit dataChanged(index(r, c), index(r, c));
    }
    void setSize(int cols, int rows) {
        beginResetModel();
        cols_ = std::max(0, cols);
        rows_ = std::max(0, rows);
        endResetModel();
    }

private:
    StringGrid* g_;
    int cols_ = 5, rows_ = 5;
    std::vector<std::vector<QString>> cells_;
    std::vector<QString> empty_;
};

class StringGridDelegate : public QStyledItemDelegate {
public:
    explicit StringGridDelegate(StringGrid* g) : QStyledItemDelegate(g), g_(g) {}
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& i) const override {
        const bool fixed = i.row() < g_->fixedRows_ || i.column() < g_->fixedCols_;
        const bool selected = (opt.state & QStyle::State_Selected) != 0;
        const QPalette& pal = g_->palette();
        QBrush brush = fixed ? pal.button() : selected ? pal.highlight() : pal.base();
        p->save();
        if (g_->OnDrawCell) {
            DrawCellArgs a{i.column(), i.row(), opt.rect, fixed, selected, *p, brush};
            g_->run([&] { g_->OnDrawCell(a); });
        } else {
            p->fillRect(opt.rect, brush);
            p->setPen(selected && !fixed ? pal.color(QPalette::HighlightedText)
                                         : pal.color(QPalette::Text));
            p->drawText(opt.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                        i.data().toString());
        }
        p->restore();
    }

private:
    StringGrid* g_;
};

StringGrid::StringGrid(QWidget* parent, const QString& name, int l, int t, int w, int h)
    : QTableView(parent), Control(this), model_(new StringGridModel(this)) {
    setObjectName(name);
    setGeometry(l, t, std::max(0, w), std::max(0, h));
    setModel(model_);
    setItemDelegate(new StringGridDelegate(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDefaultRowHeight(24);
    setDefaultColWidth(64);
    setFixedRows(1);
    setFixedCols(1);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { run(OnSelectCell); });
    show();
}

void StringGrid::setColCount(int n) {
    model_->setSize(n, model_->rowCount());
    setDefaultColWidth(defaultColWidth_);
}
void StringGrid::setRowCount(int n) { model_->setSize(model_->columnCount(), n); }
int StringGrid::colCount() const { return model_->columnCount(); }
int StringGrid::rowCount() const { return model_->rowCount(); }
void StringGrid::setFixedRows(int n) {
    fixedRows_ = std::max(0, n);
    viewport()->update();
}
void StringGrid::setFixedCols(int n) {
    fixedCols_ = std::max(0, n);
    viewport()->update();
}
void StringGrid::setDefaultColWidth(int w) {
    defaultColWidth_ = w;
    horizontalHeader()->setDefaultSectionSize(w);
    for (int c = 0; c < colCount(); ++c) setColumnWidth(c, w);
}
void StringGrid::setDefaultRowHeight(int h) { verticalHeader()->setDefaultSectionSize(h); }
void StringGrid::setColWidth(int col, int w) { setColumnWidth(col, w); }

QString StringGrid::cell(int col, int row) const { return model_->text(col, row); }
void StringGrid::setCell(int col, int row, const QString& text) { model_->setText(col, row, text); }

void StringGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    QTableView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) run(OnDblClick);
}

}  // namespace tolvane::ui
