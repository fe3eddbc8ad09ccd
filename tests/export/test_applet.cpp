// The applet page and the four class files beside an OFF file, the applet's own
// OFF reader run on what the export wrote, and the applet itself run on the page
// in a headless Java runtime and painted into pictures.
#include "export/export.h"
#include "model/module1.h"
#include "tests/support/files.h"
#include "tests/support/model.h"
#include "tests/support/seams.h"
#include "toolkit/errors.h"
#include "toolkit/resources.h"

#include <QImage>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

const QStringList classFiles{"Face.class", "Matrix3D.class", "OOGL_OFF.class", "Viewer41.class"};

QByteArray page(const QByteArray& modelParameter)
{
    return "<HTML>\r\n<HEAD>\r\n<TITLE>OFF-Viewer</TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
           "<CENTER><APPLET code=\"Viewer41.class\" WIDTH=\"640\" HEIGHT=\"480\"><PARAM name=model value=\""
        + modelParameter + "\"></APPLET></CENTER>\r\n</BODY>\r\n</HTML>\r\n";
}

QMap<QString, int> lookups;

// The box around every pixel that is not black; empty when the picture is all black.
QRect drawnBox(const QImage& picture)
{
    QRect box;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if ((picture.pixel(x, y) & 0xffffff) != 0)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

QSet<QRgb> colours(const QImage& picture)
{
    QSet<QRgb> found;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            found.insert(picture.pixel(x, y) & 0xffffff);
    }
    return found;
}

QString boxText(const QImage& picture)
{
    const QRect b = drawnBox(picture);
    return QStringLiteral("drawn in %1,%2 %3x%4").arg(b.x()).arg(b.y()).arg(b.width()).arg(b.height());
}

// Well inside the applet's 640 x 480 area: nothing cut at an edge.
bool inside(const QRect& box) { return !box.isEmpty() && QRect(1, 1, 638, 478).contains(box); }

} // namespace

class TestApplet : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    void exportAs(const QString& name, bool html, bool java) { exportTo(path(name), html, java); }
    static void exportTo(const QString& file, bool html, bool java)
    {
        support::SaveDialog dialog(file);
        Module1::htmlsave = html;
        Module1::javasave = java;
        Module1::saveoff();
        Module1::htmlsave = false;
        Module1::javasave = false;
    }

    static void readCube()
    {
        support::answerOpenDialog(support::cubePath());
        Module1::datenlesen();
        toolkit::resetDialogs();
        QCOMPARE(Module1::anzpkt, std::int64_t(8));
    }

    // Runs the applet of the page as a browser would, in a headless Java runtime:
    // the first picture, then one after each drag ("dx,dy" from the middle).
    // Fails on any exception or other output of the applet.
    void runApplet(const QString& page, const QStringList& drags, QList<QImage>& frames)
    {
        frames.clear();
        const QString prefix = dir.filePath(QStringLiteral("frames/f"));
        QDir().mkpath(dir.filePath(QStringLiteral("frames")));
        QProcess java;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8")); // file names are UTF-8
        java.setProcessEnvironment(env);
        java.start(QStringLiteral(QEL_JAVA),
                   QStringList{QStringLiteral("-Djava.awt.headless=true"), QStringLiteral("--add-opens"),
                               QStringLiteral("java.desktop/java.awt=ALL-UNNAMED"), QStringLiteral("-cp"),
                               QFileInfo(page).path() + QLatin1Char(':') + QStringLiteral(QEL_APPLET_HARNESS),
                               QStringLiteral("AppletCheck"), page, prefix}
                       + drags);
        QVERIFY(java.waitForFinished(120000));
        const QByteArray errors = java.readAllStandardError();
        QVERIFY2(java.exitStatus() == QProcess::NormalExit && java.exitCode() == 0 && errors.isEmpty(),
                 errors.constData());
        for (qsizetype i = 0; i <= drags.size(); ++i) {
            QImage frame(prefix + QStringLiteral("-%1.png").arg(i));
            QVERIFY2(!frame.isNull(), "no picture written");
            QCOMPARE(frame.size(), QSize(640, 480));
            frames << frame;
        }
        QDir(dir.filePath(QStringLiteral("frames"))).removeRecursively();
    }

    // The exported cube as the applet first shows it, from its own folder.
    QImage cubePicture()
    {
        static QImage picture;
        if (picture.isNull()) {
            const QString folder = dir.filePath(QStringLiteral("reference"));
            QDir().mkpath(folder);
            readCube();
            exportTo(folder + QStringLiteral("/cube.off"), true, true);
            QList<QImage> frames;
            runApplet(folder + QStringLiteral("/cube.htm"), {}, frames);
            QDir(folder).removeRecursively();
            picture = frames.value(0);
        }
        return picture;
    }

    // Exports the model as offName with the page and the class files: the applet on
    // that page shows the cube's picture. `edit` may change the OFF file first.
    void showsTheCube(const QString& offName, const QImage& cube,
                      const std::function<QByteArray(QByteArray)>& edit = {})
    {
        exportAs(offName, true, true);
        if (edit)
            support::writeBytes(path(offName), edit(support::bytesOf(path(offName))));
        QList<QImage> frames;
        runApplet(path(offName.chopped(4) + QStringLiteral(".htm")), {}, frames);
        if (QTest::currentTestFailed())
            return;
        QVERIFY2(frames[0] == cube,
                 qPrintable(boxText(frames[0]) + QStringLiteral(", not as the cube: ") + boxText(cube)));
    }

private slots:
    void init()
    {
        // Counts every lookup of the run, from the very first one on.
        toolkit::setResourceLookup([](const QString& name) -> std::optional<QByteArray> {
            ++lookups[name];
            QFile f(QStringLiteral(":/qel/") + name);
            if (!f.open(QIODevice::ReadOnly))
                return std::nullopt;
            return f.readAll();
        });
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }
    void cleanup() { support::resetSeams(); }

    void pageBytes()
    {
        support::loadSquare();
        exportAs(QStringLiteral("cube.off"), true, false);
        QCOMPARE(support::bytesOf(path(QStringLiteral("cube.htm"))), page("cube.off"));
        QCOMPARE(support::bytesOf(path(QStringLiteral("cube.off"))), support::squareOff);
    }

    void pageName_data()
    {
        QTest::addColumn<QString>("datname");
        QTest::addColumn<QString>("offName");
        QTest::addColumn<QString>("pageName");
        QTest::newRow("cube.off") << "square.txt"
                                  << "cube.off"
                                  << "cube.htm";
        QTest::newRow(".off inside") << "square.txt"
                                     << "x.off.txt"
                                     << "x.off.htm";
        QTest::newRow(".off as a prefix") << "square.txt"
                                          << "a.office"
                                          << "a.of.htm";
        QTest::newRow("no .off: model name") << "square.txt"
                                             << "mesh"
                                             << "square.txt.htm";
        QTest::newRow("no .off, start name") << "3D"
                                             << "mesh.txt"
                                             << "3D.htm";
        QTest::newRow("letter case ignored") << "square.txt"
                                             << "CUBE.OFF"
                                             << "CUBE.htm";
    }
    void pageName()
    {
        QFETCH(QString, datname);
        QFETCH(QString, offName);
        QFETCH(QString, pageName);
        support::loadSquare();
        Module1::datname = datname;
        exportAs(offName, true, false);
        QStringList expected{offName, pageName};
        expected.sort();
        QCOMPARE(support::entries(dir.path()), expected);
        QCOMPARE(support::bytesOf(path(pageName)), page(offName.toLatin1()));
    }

    // The page is Windows-1252; "&" and the double quote are character references.
    void pageEncoding_data()
    {
        QTest::addColumn<QString>("offName");
        QTest::addColumn<QByteArray>("parameter");
        QTest::newRow("umlaut and euro") << QString::fromUtf8("Würfel€.off")
                                         << QByteArray("W\xFC"
                                                       "rfel\x80.off");
        QTest::newRow("ligature") << QString::fromUtf8("Œuvre.off")
                                  << QByteArray("\x8C"
                                                "uvre.off");
        QTest::newRow("question mark") << QStringLiteral("why?.off") << QByteArray("why?.off");
        QTest::newRow("ampersand") << QStringLiteral("a&copy;b.off") << QByteArray("a&amp;copy;b.off");
        QTest::newRow("double quote") << QStringLiteral("say \"cube\".off") << QByteArray("say &quot;cube&quot;.off");
    }
    void pageEncoding()
    {
        QFETCH(QString, offName);
        QFETCH(QByteArray, parameter);
        support::loadSquare();
        exportAs(offName, true, false);
        QCOMPARE(support::bytesOf(path(offName.chopped(4) + QStringLiteral(".htm"))), page(parameter));
    }

    // A name the page's code page cannot hold is refused before anything is
    // written, an older file of that name included; without the page it is fine.
    void nameOutsideTheCodePage_data()
    {
        QTest::addColumn<QString>("offName");
        QTest::addColumn<bool>("html");
        QTest::addColumn<bool>("java");
        QTest::addColumn<QString>("named"); // the characters the message names
        QTest::newRow("Greek") << QString::fromUtf8("Κύβος.off") << true << true << QString::fromUtf8("Κύβος");
        QTest::newRow("Cyrillic, page only")
            << QString::fromUtf8("Куб.off") << true << false << QString::fromUtf8("Куб");
        QTest::newRow("one letter among others")
            << QString::fromUtf8("Würfel Ω?.off") << true << false << QString::fromUtf8("(Ω)");
        QTest::newRow("Chinese") << QString::fromUtf8("立方.off") << true << true << QString::fromUtf8("立方");
        QTest::newRow("outside the BMP") << QString::fromUtf8("\U0001F600.off") << true << true
                                         << QString::fromUtf8("\U0001F600");
        QTest::newRow("no page asked for") << QString::fromUtf8("Κύβος.off") << false << true << QString();
        QTest::newRow("nothing but the OFF file") << QString::fromUtf8("Κύβος.off") << false << false << QString();
    }
    void nameOutsideTheCodePage()
    {
        QFETCH(QString, offName);
        QFETCH(bool, html);
        QFETCH(bool, java);
        QFETCH(QString, named);
        support::loadSquare();
        support::writeBytes(path(offName), "older file");
        QString message;
        try {
            exportAs(offName, html, java);
        } catch (const toolkit::UnsupportedFormatException& e) {
            message = QString::fromStdString(e.what());
        }
        Module1::htmlsave = Module1::javasave = false;
        if (named.isEmpty()) {
            QCOMPARE(message, QString());
            QStringList files = java ? classFiles + QStringList{offName} : QStringList{offName};
            files.sort();
            QCOMPARE(support::entries(dir.path()), files);
            QCOMPARE(support::bytesOf(path(offName)), support::squareOff);
            return;
        }
        QVERIFY2(message.contains(path(offName)) && message.contains(QStringLiteral("Windows-1252"))
                     && message.contains(named),
                 qPrintable(message));
        QCOMPARE(support::entries(dir.path()), QStringList{offName});
        QCOMPARE(support::bytesOf(path(offName)), QByteArray("older file"));

        // Called on its own, the page refuses the name just the same.
        QVERIFY_THROWS_EXCEPTION(toolkit::UnsupportedFormatException,
                                 Module1::saveHTML(dir.path() + QLatin1Char('/'), offName));
        QCOMPARE(support::entries(dir.path()), QStringList{offName});
    }

    void flagsChooseTheFiles_data()
    {
        QTest::addColumn<bool>("html");
        QTest::addColumn<bool>("java");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("neither") << false << false << QStringList{"m.off"};
        QTest::newRow("page only") << true << false << QStringList{"m.htm", "m.off"};
        QTest::newRow("classes only") << false << true << (classFiles + QStringList{"m.off"});
        QTest::newRow("both") << true << true << (classFiles + QStringList{"m.htm", "m.off"});
    }
    void flagsChooseTheFiles()
    {
        QFETCH(bool, html);
        QFETCH(bool, java);
        QFETCH(QStringList, files);
        support::loadSquare();
        exportAs(QStringLiteral("m.off"), html, java);
        files.sort();
        QCOMPARE(support::entries(dir.path()), files);
    }

    void classFilesAreTheResources()
    {
        Module1::savejava(dir.path() + QLatin1Char('/'));
        QCOMPARE(support::entries(dir.path()), classFiles);
        for (const QString& name : classFiles) {
            const QByteArray bytes = support::bytesOf(path(name));
            QCOMPARE(bytes, support::builtInResource(name));
            // A class file for Java 8 (major version 52), so old plug-ins run it.
            QVERIFY2(bytes.startsWith(QByteArray::fromHex("cafebabe0000")), qPrintable(name));
            QCOMPARE(bytes.mid(6, 2), QByteArray::fromHex("0034"));
        }
        QCOMPARE(Module1::Viewer41(), support::builtInResource(QStringLiteral("Viewer41.class")));
        QCOMPARE(Module1::Face(), support::builtInResource(QStringLiteral("Face.class")));
        QCOMPARE(Module1::Matrix3D(), support::builtInResource(QStringLiteral("Matrix3D.class")));
        QCOMPARE(Module1::OOGL_OFF(), support::builtInResource(QStringLiteral("OOGL_OFF.class")));
    }

    void secondExportReplacesWithoutAsking()
    {
        support::loadSquare();
        for (const QString& name : classFiles + QStringList{"m.htm", "m.off"})
            support::writeBytes(path(name), "old and much longer than the new page would ever be, " + name.toLatin1());
        exportAs(QStringLiteral("m.off"), true, true);
        exportAs(QStringLiteral("m.off"), true, true);
        QCOMPARE(support::bytesOf(path(QStringLiteral("m.off"))), support::squareOff);
        QCOMPARE(support::bytesOf(path(QStringLiteral("m.htm"))), page("m.off"));
        for (const QString& name : classFiles)
            QCOMPARE(support::bytesOf(path(name)), support::builtInResource(name));
        QCOMPARE(support::entries(dir.path()).size(), classFiles.size() + 2);
    }

    void eachResourceFetchedOncePerRun()
    {
        for (int i = 0; i < 3; ++i)
            Module1::savejava(dir.path() + QLatin1Char('/'));
        Module1::Viewer41();
        Module1::OOGL_OFF();
        for (const QString& name : classFiles)
            QCOMPARE(lookups.value(name), 1);
    }

    // The exported reader class, run from the export folder, reads back exactly the
    // vertices and faces the export wrote: steps to the origin and past the point
    // count name the origin vertex after the points.
    void appletReaderReadsTheExport()
    {
#ifndef QEL_JAVA
        QFAIL("no Java runtime configured");
#else
        support::loadModel(QStringLiteral("m.txt"), {{0.1, -2.5, 1.0 / 3.0}, {1e21, -0.0, 4}, {5, 6.25, -7}},
                           {{0, 0}, {1, 12}, {2, 0}, {3, 7}, {2, -3}, {9, 16}, {3, 1}});
        exportAs(QStringLiteral("m.off"), false, true);

        QProcess java;
        java.setProcessChannelMode(QProcess::SeparateChannels);
        java.start(QStringLiteral(QEL_JAVA),
                   {QStringLiteral("-Djava.awt.headless=true"), QStringLiteral("-cp"), dir.path(),
                    QStringLiteral("OOGL_OFF"), path(QStringLiteral("m.off"))});
        QVERIFY(java.waitForFinished(120000));
        QVERIFY2(java.exitStatus() == QProcess::NormalExit && java.exitCode() == 0,
                 java.readAllStandardError().constData());
        QList<QByteArray> out = java.readAllStandardOutput().trimmed().split('\n');
        for (QByteArray& line : out)
            line = line.trimmed();

        QCOMPARE(out.value(0), QByteArray("vertices 4"));
        QCOMPARE(out.value(1), QByteArray("faces 4"));
        for (int k = 1; k <= 3; ++k) {
            const QList<QByteArray> f = out.value(1 + k).split(' ');
            QCOMPARE(f.size(), 4);
            QCOMPARE(f[0], QByteArray("v"));
            for (int c = 1; c <= 3; ++c) {
                bool ok = false;
                const double v = f[c].toDouble(&ok);
                QVERIFY2(ok && v == Module1::punkt(k, c), f[c].constData());
            }
        }
        QCOMPARE(out.value(5), QByteArray("v 0.0 0.0 0.0"));
        const QList<QByteArray> faces{"f 2 3 0 colour 1.0 0.5 0.5", "f 2 1 2 colour 0.5 0.5 0.5",
                                      "f 2 1 3 colour 0.0 0.0 0.0", "f 2 3 2 colour 0.0 0.0 0.5"};
        QCOMPARE(out.mid(6), faces);
#endif
    }

    // The exported cube fills a fair part of the applet's area without being cut;
    // a drag sideways turns it and dragging back restores it; a drag up or down tilts it.
    void appletDrawsAndTurnsTheCube()
    {
        readCube();
        exportAs(QStringLiteral("cube.off"), true, true);
        QList<QImage> frames;
        runApplet(path(QStringLiteral("cube.htm")), {"50,0", "-50,0", "0,50"}, frames);
        if (QTest::currentTestFailed())
            return;

        const QRect box = drawnBox(frames[0]);
        QVERIFY2(inside(box) && box.height() >= 480 / 2 && box.width() >= 640 / 3, qPrintable(boxText(frames[0])));
        // Bright red, bright green and yellow edges (codes 12, 10, 14) on black.
        QCOMPARE(colours(frames[0]), (QSet<QRgb>{0x000000, 0xff8080, 0x80ff80, 0xffff80}));

        QVERIFY(frames[1] != frames[0]);
        QVERIFY(inside(drawnBox(frames[1])));
        QVERIFY(frames[2] == frames[0]);
        QVERIFY(frames[3] != frames[0] && frames[3] != frames[1]);
        QVERIFY(inside(drawnBox(frames[3])));
    }

    // The drawing is fitted to the vertices that the drawn faces use: a vertex far
    // away that no drawn face uses changes nothing. Our export names no vertex that
    // is missing, but an OFF file from elsewhere may.
    void appletFitsWhatItDraws_data()
    {
        QTest::addColumn<bool>("skippedFace");
        QTest::newRow("vertex no face uses") << false;
        QTest::newRow("vertex only a face with a bad index uses") << true;
    }
    void appletFitsWhatItDraws()
    {
        QFETCH(bool, skippedFace);
        const QImage cube = cubePicture();
        QVERIFY(!cube.isNull());
        readCube();
        Module1::anzpkt = 9;
        Module1::punkt(9, 1) = 1000;
        Module1::punkt(9, 2) = -800;
        Module1::punkt(9, 3) = 1000;
        if (!skippedFace) {
            showsTheCube(QStringLiteral("cube.off"), cube);
            return;
        }
        // The face "2 -1 8" added by hand; without the counts line the file is left
        // empty and the applet shows a message instead of the cube.
        showsTheCube(QStringLiteral("cube.off"), cube, [](QByteArray off) {
            const QByteArray counts = "\r\n9 12 99\r\n";
            return off.contains(counts) ? off.replace(counts, "\r\n9 13 99\r\n") + "2 -1 8 1 0.5 0.5\r\n"
                                        : QByteArray();
        });
    }

    // A step of the pen path to the model origin is drawn in its colour: bright red
    // (code 12) after a white step (code 15).
    void appletDrawsTheStepToTheOrigin()
    {
        support::loadModel(QStringLiteral("o.qel"), {{5, 0, 0}, {5, 5, 0}}, {{1, 0}, {2, 15}, {0, 12}});
        exportAs(QStringLiteral("o.off"), true, true);
        QList<QImage> frames;
        runApplet(path(QStringLiteral("o.htm")), {}, frames);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(inside(drawnBox(frames[0])));
        QCOMPARE(colours(frames[0]), (QSet<QRgb>{0x000000, 0xffffff, 0xff8080}));
    }

    // Every name the export writes loads in the applet: the picture is the one of
    // the same model exported as cube.off.
    void appletLoadsEveryName_data()
    {
        QTest::addColumn<QString>("offName");
        QTest::newRow("blank") << QStringLiteral("my cube.off");
        QTest::newRow("hash") << QStringLiteral("a#b.off");
        QTest::newRow("percent") << QStringLiteral("100%.off");
        QTest::newRow("percent and hex digits") << QStringLiteral("a%41.off");
        QTest::newRow("question mark") << QStringLiteral("why?.off");
        QTest::newRow("colon") << QStringLiteral("c:cube.off");
        QTest::newRow("umlaut and euro") << QString::fromUtf8("Würfel€.off");
        QTest::newRow("ligature and half") << QString::fromUtf8("Œuvre ½.off");
        QTest::newRow("ampersand") << QStringLiteral("R&amp;D.off");
        QTest::newRow("double quote") << QStringLiteral("say \"cube\".off");
        QTest::newRow("all at once") << QString::fromUtf8("é #1 %20 & \"x\"?.off");
    }
    void appletLoadsEveryName()
    {
        QFETCH(QString, offName);
        const QImage cube = cubePicture();
        QVERIFY(!cube.isNull());
        readCube();
        showsTheCube(offName, cube);
    }

    // What cannot be drawn gives a message or an empty picture, before and after
    // a drag, and never an exception.
    void appletWithoutAModel_data()
    {
        QTest::addColumn<QString>("offName");
        QTest::addColumn<QByteArray>("content"); // "<none>": no such file
        QTest::addColumn<bool>("message");       // else an empty picture
        QTest::newRow("missing file") << "nowhere.off" << QByteArray("<none>") << true;
        QTest::newRow("no model named") << "" << QByteArray("<none>") << true;
        QTest::newRow("empty file") << "e.off" << QByteArray() << true;
        QTest::newRow("not an OFF file") << "t.off" << QByteArray("hello\r\n") << true;
        QTest::newRow("ends early") << "t.off" << QByteArray("OFF\r\n3 1 99\r\n0 0 0\r\n1 0 0\r\n") << true;
        QTest::newRow("huge counts") << "t.off" << QByteArray("OFF\r\n700000000 700000000 99\r\n") << true;
        QTest::newRow("empty model") << "m.off" << QByteArray("OFF\r\n0 0 99\r\n") << false;
        QTest::newRow("bad indices")
            << "m.off"
            << QByteArray("OFF\r\n3 5 99\r\n0 0 0\r\n1 0 0\r\n0 1 0\r\n2 -1 0 1 0 0\r\n2 1 3 1 0 0\r\n"
                          "2 0 99999999999 1 1 1\r\n3 0 1 2147483648\r\n1 2 1 1 1\r\n")
            << false;
        QTest::newRow("faces but no vertices")
            << "m.off" << QByteArray("OFF\r\n0 2 99\r\n2 0 1 1 1 1\r\n2 1 0\r\n") << false;
    }
    void appletWithoutAModel()
    {
        QFETCH(QString, offName);
        QFETCH(QByteArray, content);
        QFETCH(bool, message);
        if (content != "<none>")
            support::writeBytes(path(offName), content);
        Module1::savejava(dir.path() + QLatin1Char('/'));
        Module1::saveHTML(dir.path() + QLatin1Char('/'), offName);
        const QString page = path(offName.isEmpty() ? QStringLiteral("3D.htm")
                                                    : offName.chopped(4) + QStringLiteral(".htm"));
        QList<QImage> frames;
        runApplet(page, {"30,20"}, frames);
        if (QTest::currentTestFailed())
            return;
        for (const QImage& frame : frames) {
            const QRect box = drawnBox(frame);
            if (message) { // white text at the top
                QCOMPARE(colours(frame), (QSet<QRgb>{0x000000, 0xffffff}));
                QVERIFY(box.bottom() < 30 && box.width() > 50);
            } else {
                QCOMPARE(colours(frame), QSet<QRgb>{0x000000});
            }
        }
    }
};

QTEST_MAIN(TestApplet)
#include "test_applet.moc"
