// The picture file: the drawing area's size, its pixels exactly as the canvas shows
// them, the proposed name, the format, and a cancelled dialog.
#include "export/export.h"
#include "model/module1.h"
#include "tests/support/files.h"
#include "tests/support/model.h"
#include "tests/support/seams.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

class TestSavepic : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    int repaints = 0;

    // Marks the off-screen picture so that any scaling or offset shows: a colour
    // outside the drawing area and a pattern inside it (which a render may redraw).
    static void markPicture()
    {
        QPainter g(Module1::zebild.get());
        g.fillRect(QRect(0, 0, Module1::pictureWidth, Module1::pictureHeight), QColor(0, 200, 0));
        for (int x = 0; x < 600; x += 7)
            g.fillRect(QRect(x, x % 500, 3, 5), QColor(250, x % 256, 10));
    }

private slots:
    void init()
    {
        repaints = 0;
        Module1::hooks().invalidateCanvas = [this] { ++repaints; };
        Module1::init();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }
    void cleanup() { support::resetSeams(); }

    void drawingAreaPixelForPixel_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("withModel");
        QTest::newRow("after start, no model") << 400 << 400 << false;
        QTest::newRow("grown by 100 x 50") << 500 << 450 << true;
        QTest::newRow("largest drawing area") << 1424 << 865 << true;
    }
    void drawingAreaPixelForPixel()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, withModel);
        if (withModel)
            support::loadSquare();
        Module1::breite = width;
        Module1::hoehe = height;
        markPicture();

        support::SaveDialog dialog(path(QStringLiteral("p.png")));
        repaints = 0;
        Module1::savepic();
        QVERIFY(repaints > 0); // rendered afresh, which asks the canvas to repaint

        QImage saved(path(QStringLiteral("p.png")));
        QCOMPARE(saved.size(), QSize(width, height));
        const QImage shown = Module1::zebild->copy(0, 0, width, height).convertToFormat(QImage::Format_RGB32);
        QVERIFY(saved.convertToFormat(QImage::Format_RGB32) == shown);
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("p.png")});
    }

    void proposedNameAndCancel()
    {
        support::loadSquare();
        markPicture();
        support::SaveDialog dialog;
        repaints = 0;
        Module1::savepic();
        QCOMPARE(dialog.proposed, QStringList{QStringLiteral("bild")});
        QCOMPARE(support::entries(dir.path()), QStringList{});
        QVERIFY(repaints > 0); // the render comes before the dialog
    }

    void formatBySuffix_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("magic");
        QTest::newRow("no suffix: PNG") << "bild" << QByteArray("\x89PNG\r\n\x1a\n");
        QTest::newRow(".png") << "a.png" << QByteArray("\x89PNG\r\n\x1a\n");
        QTest::newRow(".jpg") << "a.jpg" << QByteArray("\xff\xd8\xff");
        QTest::newRow(".JPG") << "a.JPG" << QByteArray("\xff\xd8\xff");
        QTest::newRow(".bmp") << "a.bmp" << QByteArray("BM");
        QTest::newRow("unknown suffix: PNG") << "a.txt" << QByteArray("\x89PNG\r\n\x1a\n");
    }
    void formatBySuffix()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, magic);
        support::SaveDialog dialog(path(name));
        Module1::savepic();
        QVERIFY(support::bytesOf(path(name)).startsWith(magic));
        QCOMPARE(QImage(path(name)).size(), QSize(400, 400));
    }

    void replacesAnExistingPicture()
    {
        support::writeBytes(path(QStringLiteral("bild")), QByteArray(100000, 'x'));
        support::SaveDialog dialog(path(QStringLiteral("bild")));
        Module1::savepic();
        QCOMPARE(QImage(path(QStringLiteral("bild"))).size(), QSize(400, 400));
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("bild")});
    }
};

QTEST_MAIN(TestSavepic)
#include "test_savepic.moc"
