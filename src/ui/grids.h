// The two grids: DBGrid shows the rows of a query through a DataSource and
// moves the query's cursor as the user moves in it (and follows the cursor
// when the program moves it); StringGrid is a table of texts the window
// fills itself, optionally drawn by its own OnDrawCell handler.
#pragma once

#include <QTableView>
#include <functional>
#include <vector>

#include "db/fb.h"
#include "ui/control.h"

class QPainter;

namespace tolvane::ui {

class DBGrid;

// The link between one query and the grids that show it. Declare it as a
// member AFTER the query it serves (members are destroyed in reverse order,
// so it lets go of the query before the query goes):
//     tolvane::db::Query IBSQL_2{DM1->IBDB2, DM1->IBTr2};
//     tolvane::ui::DataSource DS_OUT{IBSQL_2};
class DataSource : public db::QueryObserver {
public:
    explicit DataSource(db::Query& q);
    ~DataSource() override;
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    db::Query& query() const { return q_; }

    void queryOpened(db::Query&) override;
    void queryClosed(db::Query&) override;
    void cursorMoved(db::Query&) override;

private:
    friend class DBGrid;
    db::Query& q_;
    std::vector<DBGrid*> grids_;
    bool moving_ = false;   // a grid is moving the cursor itself
};

struct GridColumn {
    QString fieldName;
    QString title;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft;
    Qt::Alignment titleAlignment = Qt::AlignLeft;
    // The text shown for the field of a row; its own text when not set.
    std::function<QString(db::Field&)> getText;
};

class DBGridModel;

class DBGrid : public QTableView, public Control {
public:
    TOLVANE_CONTROL_NAMES
    DBGrid(QWidget* parent, const QString& name, int left, int top, int width, int height);
    ~DBGrid() override;

    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    void setColumnTitle(int index, const QString& title);
    // Binds the grid to `ds` (nullptr: shows nothing). The grid's current
    // row is the query's current row.
    void setDataSource(DataSource* ds);
    DataSource* dataSource() const { return ds_; }

    // The text shown in a cell (row of the query, column index), read from
    // the query when asked; the cursor is left where it was.
    QString cellText(int row, int column) const;
    int rowCount() const;
    int currentRow() const;
    // The row under the last double click; -1 when it was off the rows.
    int dblClickRow() const { return dblClickRow_; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void paintEvent(QPaintEvent* e) override;

private:
    friend class DataSource;
    friend class DBGridModel;
    void reload();          // read the rows again from the query
    void followCursor();    // put the current row where the cursor is
    void detached();        // the data source went away

    std::vector<GridColumn> columns_;
    DataSource* ds_ = nullptr;
    DBGridModel* model_;
    int rowCount_ = 0;
    bool following_ = false;
    int dblClickRow_ = -1;
};

// --- string grid ----------------------------------------------------------------

// What OnDrawCell gets: the cell, its rectangle, its state, the painter, and
// the brush the grid has prepared for it (header colour for fixed cells,
// the highlight for the selected cell, the window colour otherwise).
struct DrawCellArgs {
    int col;
    int row;
    QRect rect;
    bool fixed;
    bool selected;
    QPainter& canvas;
    QBrush brush;
};

class StringGridModel;

// Fixed rows and columns are cells of the grid like the others (row 0 is the
// header row when there is one fixed row); they are drawn in the header
// colour and cannot be selected.
class StringGrid : public QTableView, public Control {
public:
    TOLVANE_CONTROL_NAMES
    StringGrid(QWidget* parent, const QString& name, int left, int top, int width, int height);

    void setColCount(int n);
    void setRowCount(int n);
    int colCount() const;
    int rowCount() const;
    void setFixedRows(int n);
    void setFixedCols(int n);
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    void setDefaultColWidth(int w);
    void setDefaultRowHeight(int h);
    void setColWidth(int col, int w);

    QString cell(int col, int row) const;
    void setCell(int col, int row, const QString& text);

    std::function<void(DrawCellArgs&)> OnDrawCell;
    Handler OnSelectCell;

protected:
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    friend class StringGridDelegate;
    StringGridModel* model_;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    int defaultColWidth_ = 64;
};

}  // namespace tolvane::ui
