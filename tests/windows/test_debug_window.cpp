// The debug window: its lists, the highlight marks set by clicks and cleared by
// closing, its place beside the main window, and the reader closing it.
#include "model/module1.h"
#include "tests/support/files.h"
#include "tests/support/model.h"
#include "tests/support/windows.h"
#include "toolkit/dialogs.h"
#include "toolkit/report.h"
#include "windows/WINdebug.h"
#include "windows/WINhaupt.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <cstdlib>
#include <limits>

using qel::Listbox;
using support::Point;
using support::Record;

namespace {

// A small model whose highlighted point and segment lie well inside the drawing area.
void loadSmallModel()
{
    support::loadModel(QStringLiteral("small.qel"), {{0.5, -2.25, 3}, {0.1 + 0.2, 1e-07, -4}, {5, 5, 0}, {-3, 2, 1.5}},
                       {{1, 15}, {2, 0}, {3, 7}, {9, 99}, {4, -1}});
}

QStringList rowTexts(Listbox* list, std::int64_t row)
{
    QStringList texts;
    for (std::int64_t c = 0; c < list->ColumnCount(); ++c)
        texts << list->Cell(row, c);
    return texts;
}

QStringList headings(Listbox* list)
{
    QStringList texts;
    for (std::int64_t c = 0; c < list->ColumnCount(); ++c)
        texts << list->Heading(c);
    return texts;
}

QPoint cellCentre(Listbox* list, int row, int column)
{
    return list->visualRect(list->model()->index(row, column)).center();
}

void clickCell(Listbox* list, int row, int column)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cellCentre(list, row, column));
}

// Pure green pixels of the drawing area: only a highlight is drawn in (0, 255, 0).
int greenPixels()
{
    const QImage& pic = *Module1::zebild;
    int n = 0;
    for (int y = 0; y < Module1::hoehe && y < pic.height(); ++y)
        for (int x = 0; x < Module1::breite && x < pic.width(); ++x)
            if (pic.pixel(x, y) == qRgb(0, 255, 0))
                ++n;
    return n;
}

} // namespace

class TestDebugWindow : public QObject {
    Q_OBJECT

private:
    QStringList errors_;

private slots:
    // Every test starts with the main window shown and the small model loaded.
    void init()
    {
        errors_.clear();
        toolkit::setReport([this](const QString& m) { errors_ << m; });
        QVERIFY(QTest::qWaitForWindowExposed(support::openMainWindow()));
        loadSmallModel();
    }

    void cleanup()
    {
        support::resetSeamsAndWindows();
        QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
    }

    void windowAndControls()
    {
        qel::WINdebug* w = support::openShown<qel::WINdebug>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Debug"));
        QCOMPARE(w->size(), QSize(399, 435));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(w->LBpunkte()->geometry(), QRect(20, 38, 197, 377));
        QCOMPARE(w->LBlinien()->geometry(), QRect(229, 38, 150, 377));
        QCOMPARE(w->StaticText1()->geometry(), QRect(254, 6, 100, 20));
        QCOMPARE(w->StaticText1()->text(), QStringLiteral("Linien"));
        QCOMPARE(w->StaticText2()->geometry(), QRect(53, 6, 100, 20));
        QCOMPARE(w->StaticText2()->text(), QStringLiteral("Punkte"));
        QVERIFY(w->LBpunkte()->horizontalHeader()->isVisible());
        QVERIFY(!w->LBpunkte()->verticalHeader()->isVisible());
    }

    void lists_data()
    {
        QTest::addColumn<bool>("empty");
        QTest::newRow("small model") << false;
        QTest::newRow("empty model") << true;
    }

    void lists()
    {
        QFETCH(bool, empty);
        if (empty)
            support::loadModel(QStringLiteral("empty.qel"), {}, {});
        qel::WINdebug* w = WINdebug();
        Listbox* p = w->LBpunkte();
        Listbox* l = w->LBlinien();
        QCOMPARE(headings(p), QStringList({"Nr.", "x", "y", "z"}));
        QCOMPARE(headings(l), QStringList({"Nr.", "Pkt.", "Farbe"}));
        if (empty) {
            QCOMPARE(p->RowCount(), std::int64_t(0));
            QCOMPARE(l->RowCount(), std::int64_t(0));
            return;
        }
        QCOMPARE(p->RowCount(), std::int64_t(4));
        QCOMPARE(rowTexts(p, 0), QStringList({"1", "0.5", "-2.25", "3"}));
        QCOMPARE(rowTexts(p, 1), QStringList({"2", "0.30000000000000004", "1e-07", "-4"}));
        QCOMPARE(rowTexts(p, 2), QStringList({"3", "5", "5", "0"}));
        QCOMPARE(rowTexts(p, 3), QStringList({"4", "-3", "2", "1.5"}));
        // Stored numbers as they are: a point number beyond the count, codes 0, 99, -1.
        QCOMPARE(l->RowCount(), std::int64_t(5));
        QCOMPARE(rowTexts(l, 0), QStringList({"1", "1", "15"}));
        QCOMPARE(rowTexts(l, 1), QStringList({"2", "2", "0"}));
        QCOMPARE(rowTexts(l, 2), QStringList({"3", "3", "7"}));
        QCOMPARE(rowTexts(l, 3), QStringList({"4", "9", "99"}));
        QCOMPARE(rowTexts(l, 4), QStringList({"5", "4", "-1"}));
    }

    void fullTables()
    {
        std::vector<Point> pts;
        std::vector<Record> recs;
        for (int i = 1; i <= 3000; ++i) {
            pts.push_back({i / 8.0, -i * 1.0, 0});
            recs.push_back({i, i % 16});
        }
        support::loadModel(QStringLiteral("full.qel"), pts, recs);
        qel::WINdebug* w = WINdebug();
        QCOMPARE(w->LBpunkte()->RowCount(), std::int64_t(3000));
        QCOMPARE(w->LBlinien()->RowCount(), std::int64_t(3000));
        QCOMPARE(rowTexts(w->LBpunkte(), 2999), QStringList({"3000", "375", "-3000", "0"}));
        QCOMPARE(rowTexts(w->LBlinien(), 2999), QStringList({"3000", "3000", "8"}));
    }

    // The columns: numbers as wide as their widest entry, the coordinates sharing
    // what is left, every pixel of the list's width used. What still does not fit
    // shows whole in the cell's tooltip.
    void columnWidths_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("3000 points and records") << "full";
        QTest::newRow("a colour code of 20 digits") << "huge code";
        QTest::newRow("small model") << "small";
    }

    void columnWidths()
    {
        QFETCH(QString, model);
        if (model != "small") {
            std::vector<Point> pts;
            std::vector<Record> recs;
            for (int i = 1; i <= 3000; ++i) {
                pts.push_back({i / 7.0, 9.0 + i / 3001.0, -0.5 * i});
                recs.push_back({3001 - i, i % 16});
            }
            if (model == "huge code")
                recs[41].code = std::numeric_limits<std::int64_t>::min();
            support::loadModel(QStringLiteral("full.qel"), pts, recs);
        }
        qel::WINdebug* w = support::openShown<qel::WINdebug>();
        for (Listbox* list : {w->LBpunkte(), w->LBlinien()}) {
            QHeaderView* h = list->horizontalHeader();
            QTRY_COMPARE(h->length(), list->viewport()->width());
            const bool points = list == w->LBpunkte();
            const int numberColumns = points ? 1 : 3;
            for (int c = 0; c < list->ColumnCount(); ++c)
                QVERIFY2(h->sectionSize(c) >= h->sectionSizeHint(c), qPrintable(list->Heading(c)));
            for (std::int64_t r = 0; r < list->RowCount(); ++r) {
                for (int c = 0; c < numberColumns; ++c) {
                    const bool huge = model == "huge code" && !points && r == 41 && c == 2;
                    QVERIFY2(list->textFits(r, c) != huge, qPrintable(list->Cell(r, c)));
                }
            }
            if (points) {
                // The number column no wider than its entries or its heading need.
                QVERIFY(h->sectionSize(0) < h->sectionSize(1));
                QVERIFY(std::abs(h->sectionSize(1) - h->sectionSize(3)) <= 1);
                QVERIFY(std::abs(h->sectionSize(2) - h->sectionSize(3)) <= 1);
                if (model == "full") {
                    QVERIFY(list->textFits(6, 1));  // "1"
                    QVERIFY(list->textFits(20, 3)); // "-10.5"
                    QVERIFY(!list->textFits(1, 1)); // "0.2857142857142857"
                }
            }
        }

        // The tooltip of a cell that does not fit holds its whole text; one that fits
        // has none.
        const auto tooltipOf = [](Listbox* list, int row, int column) {
            list->scrollTo(list->model()->index(row, column));
            const QPoint at = list->visualRect(list->model()->index(row, column)).center();
            QHelpEvent e(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
            QApplication::sendEvent(list->viewport(), &e);
            // A list that shows no tooltip leaves the event to Qt.
            const QString shown = e.isAccepted() && QToolTip::isVisible() ? QToolTip::text() : QString();
            QToolTip::hideText();
            return shown;
        };
        Listbox* p = w->LBpunkte();
        for (int r = 0; r < int(p->RowCount()); ++r) {
            for (int c = 0; c < 4; ++c) {
                if (r % 997 != 0 && r != 1)
                    continue;
                QCOMPARE(tooltipOf(p, r, c), p->textFits(r, c) ? QString() : p->Cell(r, c));
            }
        }
        if (model == "huge code")
            QCOMPARE(tooltipOf(w->LBlinien(), 41, 2), QStringLiteral("-9223372036854775808"));
    }

    // Tab and Shift+Tab go from one list to the other; the arrow keys move inside a
    // list. A freshly opened window shows no current cell, so nothing looks selected.
    void keyboard_data()
    {
        QTest::addColumn<bool>("fromPoints");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("toPoints");
        QTest::addColumn<int>("selected"); // in the list with the focus afterwards
        QTest::newRow("Tab from Punkte") << true << int(Qt::Key_Tab) << false << false << -1;
        QTest::newRow("Tab from Linien") << false << int(Qt::Key_Tab) << false << true << -1;
        QTest::newRow("Shift+Tab from Linien") << false << int(Qt::Key_Tab) << true << true << -1;
        QTest::newRow("Shift+Tab from Punkte") << true << int(Qt::Key_Backtab) << true << false << -1;
        QTest::newRow("Down in Punkte") << true << int(Qt::Key_Down) << false << true << 0;
        QTest::newRow("Right in Linien") << false << int(Qt::Key_Right) << false << false << 0;
        QTest::newRow("Up in Linien") << false << int(Qt::Key_Up) << false << false << 0;
    }

    void keyboard()
    {
        QFETCH(bool, fromPoints);
        QFETCH(int, key);
        QFETCH(bool, shift);
        QFETCH(bool, toPoints);
        QFETCH(int, selected);
        qel::WINdebug* w = support::openShown<qel::WINdebug>();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        Listbox* from = fromPoints ? w->LBpunkte() : w->LBlinien();
        Listbox* to = toPoints ? w->LBpunkte() : w->LBlinien();
        from->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), from);
        QVERIFY(!from->currentIndex().isValid());

        QTest::keyClick(w->windowHandle(), Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget(), to);
        QCOMPARE(to->SelectedRow(), std::int64_t(selected));
        QCOMPARE(to->currentIndex().isValid(), selected >= 0);
        QCOMPARE(Module1::debugpkt, std::int64_t(0));
        QCOMPARE(Module1::debuglinie, std::int64_t(0));
    }

    // A list that has the focus but was never touched draws in greys only: no cell is
    // tinted, as the selected row and the frame of a current cell are.
    void freshListShowsNoFrame()
    {
        qel::WINdebug* w = support::openShown<qel::WINdebug>();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        Listbox* p = w->LBpunkte();
        QTRY_COMPARE(QApplication::focusWidget(), p);
        const auto tinted = [p] {
            const QImage shown = p->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
            int n = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const QRgb c = shown.pixel(x, y);
                    n += std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)}) > 8;
                }
            return n;
        };
        QCOMPARE(tinted(), 0);
        // A click does show the row as selected.
        clickCell(p, 0, 1);
        QVERIFY(tinted() > 100);
    }

    // A click on any column of a row marks that row's point or record; the other
    // list's mark stays, and the row stays selected.
    void clickSetsMark_data()
    {
        QTest::addColumn<bool>("points");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("Punkte row 3, Nr.") << true << 2 << 0;
        QTest::newRow("Punkte row 3, z") << true << 2 << 3;
        QTest::newRow("Punkte row 1, x") << true << 0 << 1;
        QTest::newRow("Linien row 3, Farbe") << false << 2 << 2;
        QTest::newRow("Linien row 1 (from the origin)") << false << 0 << 1;
    }

    void clickSetsMark()
    {
        QFETCH(bool, points);
        QFETCH(int, row);
        QFETCH(int, column);
        qel::WINdebug* w = support::openShown<qel::WINdebug>();
        Listbox* clicked = points ? w->LBpunkte() : w->LBlinien();
        Listbox* other = points ? w->LBlinien() : w->LBpunkte();
        clickCell(other, 1, 0);
        const std::int64_t otherMark = 2;
        QCOMPARE(points ? Module1::debuglinie : Module1::debugpkt, otherMark);
        const int greenBefore = greenPixels();

        clickCell(clicked, row, column);
        QCOMPARE(points ? Module1::debugpkt : Module1::debuglinie, std::int64_t(row + 1));
        QCOMPARE(points ? Module1::debuglinie : Module1::debugpkt, otherMark);
        QCOMPARE(clicked->SelectedRow(), std::int64_t(row));
        QCOMPARE(other->SelectedRow(), std::int64_t(1));
        // The click redrew the model with both highlights.
        QVERIFY(greenPixels() > greenBefore);

        // Clicking the marked row again keeps the mark.
        clickCell(clicked, row, column);
        QCOMPARE(points ? Module1::debugpkt : Module1::debuglinie, std::int64_t(row + 1));
    }

    // Gestures that are not a left click on a cell of an existing row change no mark
    // and leave the drawing as it was.
    void noMark_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::newRow("keyboard down") << "key";
        QTest::newRow("click below the last row") << "below";
        QTest::newRow("click on a heading") << "heading";
        QTest::newRow("right click on a row") << "right";
        QTest::newRow("middle click on a row") << "middle";
    }

    void noMark()
    {
        QFETCH(QString, gesture);
        qel::WINdebug* w = support::openShown<qel::WINdebug>();
        Listbox* p = w->LBpunkte();
        clickCell(p, 1, 1);
        QCOMPARE(Module1::debugpkt, std::int64_t(2));
        const QStringList firstRow = rowTexts(p, 0);
        const QImage drawing = Module1::zebild->copy();

        if (gesture == "key") {
            p->setFocus();
            QTest::keyClick(p, Qt::Key_Down);
            QTest::keyClick(p, Qt::Key_Down);
            QCOMPARE(p->SelectedRow(), std::int64_t(3)); // the selection moved, the mark did not
        } else if (gesture == "below") {
            const int y = p->viewport()->height() - 3;
            QVERIFY(y > cellCentre(p, 3, 0).y() + 20);
            QTest::mouseClick(p->viewport(), Qt::LeftButton, {}, QPoint(cellCentre(p, 3, 1).x(), y));
        } else if (gesture == "heading") {
            QHeaderView* h = p->horizontalHeader();
            for (int c = 0; c < 4; ++c)
                QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                                  QPoint(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2));
            QCOMPARE(rowTexts(p, 0), firstRow);
            QCOMPARE(p->SelectedRow(), std::int64_t(1));
        } else {
            // On a row of each list.
            const Qt::MouseButton button = gesture == "right" ? Qt::RightButton : Qt::MiddleButton;
            Listbox* l = w->LBlinien();
            QTest::mouseClick(p->viewport(), button, {}, cellCentre(p, 3, 1));
            QTest::mouseClick(l->viewport(), button, {}, cellCentre(l, 2, 1));
        }
        QCOMPARE(Module1::debugpkt, std::int64_t(2));
        QCOMPARE(Module1::debuglinie, std::int64_t(0));
        QCOMPARE(rowTexts(p, 0), firstRow);
        QVERIFY(*Module1::zebild == drawing);
    }

    // Closing clears both marks and redraws without highlights; a window opened
    // again shows no selection.
    void closeClearsMarks()
    {
        qel::WINdebug* w = support::openShown<qel::WINdebug>();
        clickCell(w->LBpunkte(), 2, 0);
        clickCell(w->LBlinien(), 3, 1);
        QVERIFY(greenPixels() > 0);
        QVERIFY(w->close()); // as the close button does
        QCOMPARE(qel::WINdebug::liveWindow(), nullptr);
        QCOMPARE(Module1::debugpkt, std::int64_t(0));
        QCOMPARE(Module1::debuglinie, std::int64_t(0));
        QCOMPARE(greenPixels(), 0);

        qel::WINdebug* again = support::openShown<qel::WINdebug>();
        QCOMPARE(again->LBpunkte()->SelectedRow(), std::int64_t(-1));
        QCOMPARE(again->LBlinien()->SelectedRow(), std::int64_t(-1));
        QCOMPARE(Module1::debugpkt, std::int64_t(0));
    }

    // The window opens at left 600 and level with the main window's top, wherever
    // that stands.
    void placeBesideMainWindow_data()
    {
        QTest::addColumn<QPoint>("mainAt");
        QTest::newRow("top left") << QPoint(0, 0);
        QTest::newRow("moved") << QPoint(40, 123);
    }

    void placeBesideMainWindow()
    {
        QFETCH(QPoint, mainAt);
        ::WINhaupt()->move(mainAt);
        QCOMPARE(::WINhaupt()->pos(), mainAt);
        qel::WINdebug* w = support::openShown<qel::WINdebug>();
        QCOMPARE(w->pos(), QPoint(600, mainAt.y()));
        // A later move of the main window leaves the debug window where it is.
        ::WINhaupt()->move(mainAt + QPoint(5, 30));
        QCOMPARE(w->pos(), QPoint(600, mainAt.y()));
    }

    // The debug button on an open window brings it forward as it is: not refilled,
    // not moved, the selection kept.
    void debugButtonOnOpenWindow()
    {
        auto* button = ::WINhaupt()->PushButton3();
        button->click();
        qel::WINdebug* w = qel::WINdebug::liveWindow();
        QVERIFY(w);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        clickCell(w->LBpunkte(), 2, 1);
        w->move(150, 77);
        support::loadModel(QStringLiteral("other.qel"), {{9, 9, 9}}, {});

        button->click();
        QCOMPARE(qel::WINdebug::liveWindow(), w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->pos(), QPoint(150, 77));
        QCOMPARE(w->LBpunkte()->RowCount(), std::int64_t(4));
        QCOMPARE(w->LBlinien()->RowCount(), std::int64_t(5));
        QCOMPARE(w->LBpunkte()->SelectedRow(), std::int64_t(2));
        QCOMPARE(Module1::debugpkt, std::int64_t(3));
    }

    // A completed read leaves no debug window and both marks 0, whether one was open
    // or not; the next window lists the new model.
    void readClosesWindow_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("window open") << true;
        QTest::newRow("no window") << false;
    }

    void readClosesWindow()
    {
        QFETCH(bool, open);
        QTemporaryDir dir;
        const QString path = dir.filePath("two.qel");
        support::writeBytes(path, "2\n1 2 3\n-1 0 0.5\n3\n1 7\n2 0\n1 15\n");
        if (open) {
            qel::WINdebug* w = support::openShown<qel::WINdebug>();
            clickCell(w->LBpunkte(), 3, 0);
            clickCell(w->LBlinien(), 4, 0);
        } else {
            Module1::debugpkt = 3;
            Module1::debuglinie = 1;
        }
        support::answerOpenDialog(path);
        Module1::datenlesen();
        toolkit::resetDialogs();
        Module1::zeichnen();
        QCOMPARE(Module1::anzpkt, std::int64_t(2));
        QCOMPARE(qel::WINdebug::liveWindow(), nullptr);
        QCOMPARE(Module1::debugpkt, std::int64_t(0));
        QCOMPARE(Module1::debuglinie, std::int64_t(0));
        QCOMPARE(greenPixels(), 0);

        ::WINhaupt()->PushButton3()->click();
        qel::WINdebug* w = qel::WINdebug::liveWindow();
        QVERIFY(w);
        QCOMPARE(w->LBpunkte()->RowCount(), std::int64_t(2));
        QCOMPARE(rowTexts(w->LBpunkte(), 1), QStringList({"2", "-1", "0", "0.5"}));
        QCOMPARE(rowTexts(w->LBlinien(), 2), QStringList({"3", "1", "15"}));
    }

    // A model whose line record names a point outside the table is loaded, and the
    // failing render is reported once, whether the read closed a debug window (whose
    // close redraws) or found none; no debug window is left and both marks are 0.
    void faultyModelReportedOnce_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("window open") << true;
        QTest::newRow("no window") << false;
    }

    void faultyModelReportedOnce()
    {
        QFETCH(bool, open);
        QTemporaryDir dir;
        const QString path = dir.filePath("far.qel");
        support::writeBytes(path, "2\n0 0 0\n1 1 1\n3\n1 15\n3001 15\n2 15\n");
        if (open) {
            qel::WINdebug* w = support::openShown<qel::WINdebug>();
            clickCell(w->LBpunkte(), 1, 0);
        }
        support::answerOpenDialog(path);
        ::WINhaupt()->PushButton2()->click(); // "Qel laden": read, then render
        toolkit::resetDialogs();

        QCOMPARE(errors_,
                 QStringList{QStringLiteral(
                     "Line record 2 of \"far.qel\" names point 3001, but point numbers run from 0 to 3000. "
                     "The drawing stops at that record; the model is loaded.")});
        errors_.clear();
        QCOMPARE(Module1::datname, QStringLiteral("far.qel"));
        QCOMPARE(Module1::anzlin, std::int64_t(3));
        QCOMPARE(qel::WINdebug::liveWindow(), nullptr);
        QCOMPARE(Module1::debugpkt, std::int64_t(0));
        QCOMPARE(Module1::debuglinie, std::int64_t(0));
    }

    // At quit the main window goes first; the debug window closing after it must not
    // build a new main window for its redraw.
    void closeAfterMainWindow()
    {
        qel::WINdebug* w = support::openShown<qel::WINdebug>();
        clickCell(w->LBpunkte(), 0, 0);
        ::WINhaupt()->close();
        QCOMPARE(qel::WINhaupt::liveWindow(), nullptr);
        w->Close();
        QCOMPARE(qel::WINhaupt::liveWindow(), nullptr);
        QCOMPARE(Module1::debugpkt, std::int64_t(0));
    }
};

QTEST_MAIN(TestDebugWindow)
#include "test_debug_window.moc"
