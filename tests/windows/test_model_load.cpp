// What a loaded file shows does not depend on what was loaded before: after the
// cube, a file gives the same picture, debug lists and OFF file as right after start.
#include "export/export.h"
#include "model/module1.h"
#include "tests/support/files.h"
#include "tests/support/model.h"
#include "tests/support/windows.h"
#include "toolkit/report.h"
#include "windows/WINdebug.h"
#include "windows/WINhaupt.h"

#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Everything a user sees of a loaded model.
struct Shown {
    QImage picture; // the drawing area
    QStringList points, lines;
    QByteArray off;
};

QStringList listTexts(qel::Listbox* list)
{
    QStringList texts;
    for (std::int64_t r = 0; r < list->RowCount(); ++r)
        for (std::int64_t c = 0; c < list->ColumnCount(); ++c)
            texts << list->Cell(r, c);
    return texts;
}

// Loads the file with the load button, as the user does.
void loadWithButton(const QString& path)
{
    support::answerOpenDialog(path);
    ::WINhaupt()->PushButton2()->click();
    toolkit::resetDialogs();
}

} // namespace

class TestModelLoad : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QStringList errors_;

    // A fresh start, the cube loaded first if asked, then the file: what it shows.
    Shown showAfterStart(const QString& file, bool cubeFirst)
    {
        support::closeWindows();
        support::openMainWindow();
        if (cubeFirst) {
            loadWithButton(support::cubePath());
            if (Module1::anzpkt != 8)
                qFatal("the cube did not load");
        }
        loadWithButton(file);

        Shown s;
        s.picture = Module1::zebild->copy(0, 0, int(Module1::breite), int(Module1::hoehe));
        ::WINhaupt()->PushButton3()->click();
        qel::WINdebug* debug = qel::WINdebug::liveWindow();
        if (!debug)
            qFatal("no debug window");
        s.points = listTexts(debug->LBpunkte());
        s.lines = listTexts(debug->LBlinien());
        debug->Close();

        const QString off = dir_.filePath(cubeFirst ? QStringLiteral("after_cube.off") : QStringLiteral("fresh.off"));
        support::SaveDialog dialog(off);
        Module1::saveoff();
        s.off = support::bytesOf(off);
        return s;
    }

private slots:
    void init()
    {
        errors_.clear();
        toolkit::setReport([this](const QString& m) { errors_ << m; });
    }
    void cleanup()
    {
        support::resetSeamsAndWindows();
        QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
    }

    void fileShowsTheSameAfterTheCube_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("off"); // as exported from a fresh start
        // Every record leads past the two points, into rows the cube filled.
        QTest::newRow("records past the point count")
            << QByteArray("2\n1 1 1\n2 2 2\n4\n3 0\n5 15\n7 15\n8 15\n")
            << QByteArray("OFF\r\n3 3 99\r\n1 1 1\r\n2 2 2\r\n0 0 0\r\n2 2 2 1 1 1\r\n2 2 2 1 1 1\r\n"
                          "2 2 2 1 1 1\r\n");
        QTest::newRow("empty file") << QByteArray() << QByteArray("OFF\r\n0 0 99\r\n");
        // Ends after the first record, so the second repeats it: from the origin to
        // point 4, which only the cube had, and on to point 4 again.
        QTest::newRow("ends early") << QByteArray("1\n1 0 2\n# records\n2\n4 12\n")
                                    << QByteArray("OFF\r\n2 1 99\r\n1 0 2\r\n0 0 0\r\n2 1 1 1 0.5 0.5\r\n");
    }
    void fileShowsTheSameAfterTheCube()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, off);
        const QString file = dir_.filePath(QStringLiteral("m.qel"));
        support::writeBytes(file, content);

        const Shown fresh = showAfterStart(file, false);
        QCOMPARE(fresh.off, off);
        const Shown afterCube = showAfterStart(file, true);
        QCOMPARE(afterCube.off, fresh.off);
        QCOMPARE(afterCube.points, fresh.points);
        QCOMPARE(afterCube.lines, fresh.lines);
        QVERIFY(afterCube.picture == fresh.picture);
    }
};

QTEST_MAIN(TestModelLoad)
#include "test_model_load.moc"
