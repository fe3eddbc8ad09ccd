#pragma once
// A list box: a grid of text cells under a heading row, one selected row at most.
// The texts live in a small table model of our own; a view over it draws only the
// rows on screen, so filling thousands of rows stays cheap.
//
// Keyboard: Tab and Shift+Tab leave the list for the window's next or previous
// control, the arrow keys move inside it. A list that gets the focus shows no
// current cell until a key or a click makes one. A cell whose text does not fit
// shows the whole text in its tooltip.
#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace qel {

class ListboxModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListboxModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void setColumns(int count);
    void clearRows();
    void appendRow(const QString& first);
    void setCell(int row, int column, const QString& text);
    const QString& cell(int row, int column) const;
    void setHeading(int column, const QString& text);
    const QString& heading(int column) const;

private:
    int columns_ = 1;
    QStringList headings_;
    std::vector<QString> cells_; // row-major, columns_ texts per row
    int rows_ = 0;
};

class Listbox : public QTableView {
    Q_OBJECT
public:
    explicit Listbox(QWidget* parent = nullptr);

    // The bound handler of a left click on a cell: 0-based row and column, position
    // within the cell. A result of false lets the list go on with its own handling
    // of the click (selecting the row); an unbound click only does that.
    std::function<bool(std::int64_t row, std::int64_t column, std::int64_t x, std::int64_t y)> CellClick;

    // Columns of the list; set once, before rows are added.
    void setColumnCount(std::int64_t count);
    std::int64_t ColumnCount() const;

    // How a column gets its width. Share: the columns of this kind share equally
    // what the others leave (every column, unless told otherwise). Fit: as wide as
    // its widest text, heading included; when no column shares, the last one takes
    // what is left. Fit columns give way in proportion only when the list is too
    // narrow for them and the headings of the others.
    enum class ColumnWidth { Share, Fit };
    void setColumnWidthMode(std::int64_t column, ColumnWidth mode);

    void DeleteAllRows();
    // Appends one row at the end, its first cell holding the text and the others empty.
    void AddRow(const QString& text);
    std::int64_t RowCount() const;

    void Heading(std::int64_t column, const QString& text);
    QString Heading(std::int64_t column) const;

    void Cell(std::int64_t row, std::int64_t column, const QString& text);
    QString Cell(std::int64_t row, std::int64_t column) const;

    // The selected row, or -1 for none.
    std::int64_t SelectedRow() const;

    // Whether the cell's text shows whole at the column's width.
    bool textFits(std::int64_t row, std::int64_t column) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void checkRow(std::int64_t row) const;
    void checkColumn(std::int64_t column) const;
    int textWidth(const QString& text) const;
    void measure(std::int64_t column, const QString& text); // a new text of a Fit column
    int cellPadding() const;                                // text margins and grid line of a cell
    void columnsChanged();
    void layoutColumns();

    ListboxModel* model_;
    std::vector<ColumnWidth> widthModes_;
    std::vector<int> widest_; // widest text of each Fit column, in pixels
    struct Advance {
        int whole = -1; // not looked up yet
        qreal fraction = 0;
    };
    mutable std::array<Advance, 128> advances_{}; // of the characters below 128
    bool layoutPending_ = false;
    int laidOutFor_ = -1; // viewport width of the last layout
};

} // namespace qel
