#pragma once
// A list box: a grid of text cells under a heading row, one selected row at most.
// The texts live in a small table model of our own; a view over it draws only the
// rows on screen, so filling thousands of rows stays cheap.
#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QTableView>
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
    int m_columns = 1;
    QStringList m_headings;
    std::vector<QString> m_cells; // row-major, m_columns texts per row
    int m_rows = 0;
};

class Listbox : public QTableView {
    Q_OBJECT
public:
    // CellClick: list, 0-based row and column, position within the cell. A result of
    // false lets the list go on with its own handling of the click (selecting the row).
    using CellClickHandler = std::function<bool(Listbox* list, std::int64_t row, std::int64_t column,
                                                std::int64_t x, std::int64_t y)>;

    explicit Listbox(QWidget* parent = nullptr);

    // Columns of the list; set once, before rows are added.
    void setColumnCount(std::int64_t count);
    std::int64_t ColumnCount() const;

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

    void setCellClick(CellClickHandler handler) { m_cellClick = std::move(handler); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void checkRow(std::int64_t row) const;
    void checkColumn(std::int64_t column) const;

    ListboxModel* m_model;
    CellClickHandler m_cellClick;
};

} // namespace qel
