#include "windows/Listbox.h"

#include "toolkit/errors.h"
#include "toolkit/numeric.h"
#include "toolkit/report.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace qel {

// --- model -------------------------------------------------------------------

ListboxModel::ListboxModel(QObject* parent) : QAbstractTableModel(parent), m_headings(1) {}

int ListboxModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int ListboxModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_columns; }

QVariant ListboxModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows || index.column() >= m_columns)
        return {};
    return cell(index.row(), index.column());
}

QVariant ListboxModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole || section < 0 || section >= m_columns)
        return {};
    return m_headings.at(section);
}

Qt::ItemFlags ListboxModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ListboxModel::setColumns(int count)
{
    beginResetModel();
    m_columns = count;
    m_headings = QStringList(count);
    m_cells.clear();
    m_rows = 0;
    endResetModel();
}

void ListboxModel::clearRows()
{
    if (m_rows == 0)
        return;
    beginRemoveRows({}, 0, m_rows - 1);
    m_cells.clear();
    m_rows = 0;
    endRemoveRows();
}

void ListboxModel::appendRow(const QString& first)
{
    beginInsertRows({}, m_rows, m_rows);
    m_cells.resize(m_cells.size() + static_cast<std::size_t>(m_columns));
    m_cells[static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_columns)] = first;
    ++m_rows;
    endInsertRows();
}

void ListboxModel::setCell(int row, int column, const QString& text)
{
    m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(column)] = text;
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

const QString& ListboxModel::cell(int row, int column) const
{
    return m_cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_columns) + static_cast<std::size_t>(column)];
}

void ListboxModel::setHeading(int column, const QString& text)
{
    m_headings[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

const QString& ListboxModel::heading(int column) const { return m_headings.at(column); }

// --- view --------------------------------------------------------------------

Listbox::Listbox(QWidget* parent) : QTableView(parent), m_model(new ListboxModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setSortingEnabled(false);
    setShowGrid(true);
    setWordWrap(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalHeader()->hide();
    // Rows as high as the font needs.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The width is shared among the columns; the user neither resizes nor sorts them.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
}

void Listbox::setColumnCount(std::int64_t count)
{
    if (count < 1 || count > 64)
        throw toolkit::OutOfBoundsException("Column count " + toolkit::Str(count).toStdString() + " out of range");
    m_model->setColumns(static_cast<int>(count));
}

std::int64_t Listbox::ColumnCount() const { return m_model->columnCount(); }

void Listbox::DeleteAllRows() { m_model->clearRows(); }

void Listbox::AddRow(const QString& text) { m_model->appendRow(text); }

std::int64_t Listbox::RowCount() const { return m_model->rowCount(); }

void Listbox::checkRow(std::int64_t row) const
{
    if (row < 0 || row >= RowCount())
        throw toolkit::OutOfBoundsException("List row " + toolkit::Str(row).toStdString() + " out of range");
}

void Listbox::checkColumn(std::int64_t column) const
{
    if (column < 0 || column >= ColumnCount())
        throw toolkit::OutOfBoundsException("List column " + toolkit::Str(column).toStdString() + " out of range");
}

void Listbox::Heading(std::int64_t column, const QString& text)
{
    checkColumn(column);
    m_model->setHeading(static_cast<int>(column), text);
}

QString Listbox::Heading(std::int64_t column) const
{
    checkColumn(column);
    return m_model->heading(static_cast<int>(column));
}

void Listbox::Cell(std::int64_t row, std::int64_t column, const QString& text)
{
    checkRow(row);
    checkColumn(column);
    m_model->setCell(static_cast<int>(row), static_cast<int>(column), text);
}

QString Listbox::Cell(std::int64_t row, std::int64_t column) const
{
    checkRow(row);
    checkColumn(column);
    return m_model->cell(static_cast<int>(row), static_cast<int>(column));
}

std::int64_t Listbox::SelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Listbox::mousePressEvent(QMouseEvent* event)
{
    toolkit::guard([&] {
        const QPoint pos = event->position().toPoint();
        const QModelIndex index = indexAt(pos);
        bool handled = false;
        // Only a left click on a cell of an existing row is a cell click; a click
        // below the last row hits no index.
        if (event->button() == Qt::LeftButton && index.isValid() && m_cellClick) {
            const QRect cellRect = visualRect(index);
            handled = toolkit::guard(false, [&] {
                return m_cellClick(this, index.row(), index.column(), pos.x() - cellRect.left(), pos.y() - cellRect.top());
            });
        }
        if (!handled)
            QTableView::mousePressEvent(event);
    });
}

void Listbox::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging with the button held does not move the selection away from the clicked row.
    if (event->buttons() != Qt::NoButton)
        return;
    QTableView::mouseMoveEvent(event);
}

} // namespace qel
