#include "windows/Listbox.h"

#include "toolkit/errors.h"
#include "toolkit/numeric.h"
#include "toolkit/report.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace qel {

// --- model -------------------------------------------------------------------

ListboxModel::ListboxModel(QObject* parent) : QAbstractTableModel(parent), headings_(1) {}

int ListboxModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ListboxModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ListboxModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_ || index.column() >= columns_)
        return {};
    return cell(index.row(), index.column());
}

QVariant ListboxModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole || section < 0 || section >= columns_)
        return {};
    return headings_.at(section);
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
    columns_ = count;
    headings_ = QStringList(count);
    cells_.clear();
    rows_ = 0;
    endResetModel();
}

void ListboxModel::clearRows()
{
    if (rows_ == 0)
        return;
    beginRemoveRows({}, 0, rows_ - 1);
    cells_.clear();
    rows_ = 0;
    endRemoveRows();
}

void ListboxModel::appendRow(const QString& first)
{
    beginInsertRows({}, rows_, rows_);
    cells_.resize(cells_.size() + static_cast<std::size_t>(columns_));
    cells_[static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_)] = first;
    ++rows_;
    endInsertRows();
}

void ListboxModel::setCell(int row, int column, const QString& text)
{
    cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column)]
        = text;
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

const QString& ListboxModel::cell(int row, int column) const
{
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_)
                  + static_cast<std::size_t>(column)];
}

void ListboxModel::setHeading(int column, const QString& text)
{
    headings_[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

const QString& ListboxModel::heading(int column) const { return headings_.at(column); }

// --- view --------------------------------------------------------------------

Listbox::Listbox(QWidget* parent) : QTableView(parent), model_(new ListboxModel(this))
{
    setModel(model_);
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
    // The list sets the column widths itself (layoutColumns); the user neither
    // resizes nor sorts the columns.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    // Tab goes on to the next control instead of the next cell.
    setTabKeyNavigation(false);
}

void Listbox::setColumnCount(std::int64_t count)
{
    if (count < 1 || count > 64)
        throw toolkit::OutOfBoundsException("Column count " + toolkit::Str(count).toStdString() + " out of range");
    model_->setColumns(static_cast<int>(count));
    widthModes_.assign(static_cast<std::size_t>(count), ColumnWidth::Share);
    widest_.assign(static_cast<std::size_t>(count), 0);
    columnsChanged();
}

void Listbox::setColumnWidthMode(std::int64_t column, ColumnWidth mode)
{
    checkColumn(column);
    widthModes_[static_cast<std::size_t>(column)] = mode;
    columnsChanged();
}

std::int64_t Listbox::ColumnCount() const { return model_->columnCount(); }

void Listbox::DeleteAllRows()
{
    model_->clearRows();
    std::fill(widest_.begin(), widest_.end(), 0);
    columnsChanged();
}

void Listbox::AddRow(const QString& text)
{
    model_->appendRow(text);
    measure(0, text);
}

std::int64_t Listbox::RowCount() const { return model_->rowCount(); }

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
    model_->setHeading(static_cast<int>(column), text);
    columnsChanged();
}

QString Listbox::Heading(std::int64_t column) const
{
    checkColumn(column);
    return model_->heading(static_cast<int>(column));
}

void Listbox::Cell(std::int64_t row, std::int64_t column, const QString& text)
{
    checkRow(row);
    checkColumn(column);
    model_->setCell(static_cast<int>(row), static_cast<int>(column), text);
    measure(column, text);
}

void Listbox::measure(std::int64_t column, const QString& text)
{
    const auto c = static_cast<std::size_t>(column);
    if (widthModes_[c] != ColumnWidth::Fit)
        return;
    const int w = textWidth(text);
    if (w > widest_[c]) {
        widest_[c] = w;
        columnsChanged();
    }
}

QString Listbox::Cell(std::int64_t row, std::int64_t column) const
{
    checkRow(row);
    checkColumn(column);
    return model_->cell(static_cast<int>(row), static_cast<int>(column));
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
        if (event->button() == Qt::LeftButton && index.isValid() && CellClick) {
            const QRect cellRect = visualRect(index);
            handled = toolkit::guard(false, [&] {
                return CellClick(index.row(), index.column(), pos.x() - cellRect.left(), pos.y() - cellRect.top());
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

// --- column widths, keyboard, tooltips ------------------------------------------

// Shaping a whole text costs about a microsecond, too much for every cell of a
// list of thousands; the advances of its characters, looked up once each, give its
// width as Qt lays it out, whether it rounds each advance or only the sum (kerning,
// which narrows a text, is left out).
int Listbox::textWidth(const QString& text) const
{
    int whole = 0;
    qreal fraction = 0;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u >= advances_.size())
            return fontMetrics().horizontalAdvance(text);
        Advance& a = advances_[u];
        if (a.whole < 0) {
            a.whole = fontMetrics().horizontalAdvance(ch);
            a.fraction = QFontMetricsF(font()).horizontalAdvance(ch);
        }
        whole += a.whole;
        fraction += a.fraction;
    }
    return std::max(whole, static_cast<int>(std::ceil(fraction)));
}

int Listbox::cellPadding() const
{
    // The item delegate keeps this margin on either side of the text; the grid line
    // takes one pixel of the cell.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return 2 * margin + (showGrid() ? 1 : 0);
}

bool Listbox::textFits(std::int64_t row, std::int64_t column) const
{
    const QString text = Cell(row, column);
    return fontMetrics().horizontalAdvance(text) + cellPadding() <= columnWidth(static_cast<int>(column));
}

// Many cells are set in a row while a list is filled: the columns are laid out once,
// when the filling handler has returned.
void Listbox::columnsChanged()
{
    if (layoutPending_)
        return;
    layoutPending_ = true;
    QMetaObject::invokeMethod(
        this, [this] { layoutColumns(); }, Qt::QueuedConnection);
}

void Listbox::layoutColumns()
{
    layoutPending_ = false;
    const int columns = model_->columnCount();
    if (static_cast<int>(widthModes_.size()) != columns)
        return;
    QHeaderView* header = horizontalHeader();
    const int available = viewport()->width();
    laidOutFor_ = available;

    std::vector<int> width(static_cast<std::size_t>(columns), 0);
    int fitTotal = 0, shareMin = 0, sharing = 0;
    for (int c = 0; c < columns; ++c) {
        const auto i = static_cast<std::size_t>(c);
        const int heading = header->sectionSizeHint(c);
        if (widthModes_[i] == ColumnWidth::Fit) {
            width[i] = std::max(widest_[i] + cellPadding(), heading);
            fitTotal += width[i];
        } else {
            shareMin += heading;
            ++sharing;
        }
    }
    // Too narrow: the widest Fit columns give way first, down to one common width,
    // so that the narrow ones stay whole.
    const int room = std::max(available - shareMin, 0);
    if (fitTotal > room) {
        std::vector<int> order;
        for (int c = 0; c < columns; ++c)
            if (widthModes_[static_cast<std::size_t>(c)] == ColumnWidth::Fit)
                order.push_back(c);
        std::sort(order.begin(), order.end(), [&](int a, int b) {
            return width[static_cast<std::size_t>(a)] < width[static_cast<std::size_t>(b)];
        });
        int left = room;
        for (std::size_t k = 0; k < order.size(); ++k) {
            int& w = width[static_cast<std::size_t>(order[k])];
            const int share = left / static_cast<int>(order.size() - k);
            w = std::min(w, share);
            left -= w;
        }
        fitTotal = room - left;
    }
    const int rest = std::max(available - fitTotal, 0);
    if (sharing > 0) {
        // Equal parts; the pixels that do not divide go to the first sharing columns.
        int extra = rest % sharing;
        for (int c = 0; c < columns; ++c) {
            const auto i = static_cast<std::size_t>(c);
            if (widthModes_[i] == ColumnWidth::Share)
                width[i] = rest / sharing + (extra-- > 0 ? 1 : 0);
        }
    } else if (columns > 0) {
        width.back() += rest;
    }
    for (int c = 0; c < columns; ++c)
        header->resizeSection(c, width[static_cast<std::size_t>(c)]);
}

void Listbox::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        // Text widths change with the font: measure every Fit column again.
        advances_.fill(Advance{});
        const auto rows = RowCount();
        for (std::size_t c = 0; c < widest_.size(); ++c) {
            if (widthModes_[c] != ColumnWidth::Fit)
                continue;
            widest_[c] = 0;
            for (std::int64_t r = 0; r < rows; ++r)
                widest_[c] = std::max(widest_[c], textWidth(model_->cell(static_cast<int>(r), static_cast<int>(c))));
        }
        columnsChanged();
    }
}

// Qt's own focus-in makes the first cell current and frames it, which looks like a
// selected cell in a list nobody has touched yet.
void Listbox::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

bool Listbox::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize: {
        // The scroll bar comes and goes with the rows: the columns follow the width.
        const bool handled = QTableView::viewportEvent(event);
        if (viewport()->width() != laidOutFor_)
            columnsChanged();
        return handled;
    }
    case QEvent::ToolTip: {
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = indexAt(help->pos());
        if (index.isValid() && !textFits(index.row(), index.column())) {
            QToolTip::showText(help->globalPos(), model_->cell(index.row(), index.column()), viewport(),
                               visualRect(index));
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    default:
        return QTableView::viewportEvent(event);
    }
}

} // namespace qel
