// The applet page and the four class files beside an OFF file, and the applet's
// own OFF reader run on what the export wrote.
#include "fixture.h"

#include "export/export.h"
#include "model/module1.h"
#include "toolkit/resources.h"

#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList classFiles{"Face.class", "Matrix3D.class", "OOGL_OFF.class", "Viewer41.class"};

QByteArray page(const QByteArray& modelParameter)
{
    return "<HTML>\r\n<HEAD>\r\n<TITLE>OFF-Viewer</TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
           "<CENTER><APPLET code=\"Viewer41.class\" WIDTH=\"640\" HEIGHT=\"480\"><PARAM name=model value=\""
           + modelParameter + "\"></APPLET></CENTER>\r\n</BODY>\r\n</HTML>\r\n";
}

QMap<QString, int> lookups;

} // namespace

class TestApplet : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    void exportAs(const QString& name, bool html, bool java)
    {
        fixture::SaveDialog dialog(path(name));
        Module1::htmlsave = html;
        Module1::javasave = java;
        Module1::saveoff();
        Module1::htmlsave = false;
        Module1::javasave = false;
    }

private slots:
    void initTestCase()
    {
        // Counts every lookup of the run, from the very first one on.
        toolkit::setResourceLookup([](const QString& name) -> std::optional<QByteArray> {
            ++lookups[name];
            QFile f(QStringLiteral(":/qel/") + name);
            if (!f.open(QIODevice::ReadOnly))
                return std::nullopt;
            return f.readAll();
        });
    }

    void init()
    {
        Module1::resetState();
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }

    void pageBytes()
    {
        fixture::loadSquare();
        exportAs(QStringLiteral("cube.off"), true, false);
        QCOMPARE(fixture::bytesOf(path(QStringLiteral("cube.htm"))), page("cube.off"));
        QCOMPARE(fixture::bytesOf(path(QStringLiteral("cube.off"))), fixture::squareOff);
    }

    void pageName_data()
    {
        QTest::addColumn<QString>("datname");
        QTest::addColumn<QString>("offName");
        QTest::addColumn<QString>("pageName");
        QTest::newRow("cube.off") << "square.txt" << "cube.off" << "cube.htm";
        QTest::newRow(".off inside") << "square.txt" << "x.off.txt" << "x.off.htm";
        QTest::newRow(".off as a prefix") << "square.txt" << "a.office" << "a.of.htm";
        QTest::newRow("no .off: model name") << "square.txt" << "mesh" << "square.txt.htm";
        QTest::newRow("no .off, start name") << "3D" << "mesh.txt" << "3D.htm";
        QTest::newRow("letter case ignored") << "square.txt" << "CUBE.OFF" << "CUBE.htm";
    }
    void pageName()
    {
        QFETCH(QString, datname);
        QFETCH(QString, offName);
        QFETCH(QString, pageName);
        fixture::loadSquare();
        Module1::datname = datname;
        exportAs(offName, true, false);
        QStringList expected{offName, pageName};
        expected.sort();
        QCOMPARE(fixture::entries(dir.path()), expected);
        QCOMPARE(fixture::bytesOf(path(pageName)), page(offName.toLatin1()));
    }

    // The page is Windows-1252; what it cannot hold becomes one "?" per character.
    void pageEncoding_data()
    {
        QTest::addColumn<QString>("offName");
        QTest::addColumn<QByteArray>("parameter");
        QTest::newRow("umlaut and euro") << QString::fromUtf8("Würfel€.off") << QByteArray("W\xFC" "rfel\x80.off");
        QTest::newRow("ligature") << QString::fromUtf8("Œuvre.off") << QByteArray("\x8C" "uvre.off");
        QTest::newRow("not in the code page") << QString::fromUtf8("立方.off") << QByteArray("??.off");
        QTest::newRow("outside the BMP") << QString::fromUtf8("\U0001F600.off") << QByteArray("?.off");
    }
    void pageEncoding()
    {
        QFETCH(QString, offName);
        QFETCH(QByteArray, parameter);
        fixture::loadSquare();
        exportAs(offName, true, false);
        QCOMPARE(fixture::bytesOf(path(offName.chopped(4) + QStringLiteral(".htm"))), page(parameter));
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
        fixture::loadSquare();
        exportAs(QStringLiteral("m.off"), html, java);
        files.sort();
        QCOMPARE(fixture::entries(dir.path()), files);
    }

    void classFilesAreTheResources()
    {
        Module1::savejava(dir.path() + QLatin1Char('/'));
        QCOMPARE(fixture::entries(dir.path()), classFiles);
        for (const QString& name : classFiles) {
            const QByteArray bytes = fixture::bytesOf(path(name));
            QCOMPARE(bytes, fixture::builtInResource(name));
            // A class file for Java 8 (major version 52), so old plug-ins run it.
            QVERIFY2(bytes.startsWith(QByteArray::fromHex("cafebabe0000")), qPrintable(name));
            QCOMPARE(bytes.mid(6, 2), QByteArray::fromHex("0034"));
        }
        QCOMPARE(Module1::Viewer41(), fixture::builtInResource(QStringLiteral("Viewer41.class")));
        QCOMPARE(Module1::Face(), fixture::builtInResource(QStringLiteral("Face.class")));
        QCOMPARE(Module1::Matrix3D(), fixture::builtInResource(QStringLiteral("Matrix3D.class")));
        QCOMPARE(Module1::OOGL_OFF(), fixture::builtInResource(QStringLiteral("OOGL_OFF.class")));
    }

    void secondExportReplacesWithoutAsking()
    {
        fixture::loadSquare();
        for (const QString& name : classFiles + QStringList{"m.htm", "m.off"})
            fixture::writeBytes(path(name), "old and much longer than the new page would ever be, " + name.toLatin1());
        exportAs(QStringLiteral("m.off"), true, true);
        exportAs(QStringLiteral("m.off"), true, true);
        QCOMPARE(fixture::bytesOf(path(QStringLiteral("m.off"))), fixture::squareOff);
        QCOMPARE(fixture::bytesOf(path(QStringLiteral("m.htm"))), page("m.off"));
        for (const QString& name : classFiles)
            QCOMPARE(fixture::bytesOf(path(name)), fixture::builtInResource(name));
        QCOMPARE(fixture::entries(dir.path()).size(), classFiles.size() + 2);
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
    // vertices and faces the export wrote, indices outside the vertices included.
    void appletReaderReadsTheExport()
    {
#ifndef QEL_JAVA
        QFAIL("no Java runtime configured");
#else
        fixture::loadModel(QStringLiteral("m.txt"),
                           {{0.1, -2.5, 1.0 / 3.0}, {1e21, -0.0, 4}, {5, 6.25, -7}},
                           {{0, 0}, {1, 12}, {2, 0}, {3, 7}, {2, -3}, {9, 16}, {3, 1}});
        exportAs(QStringLiteral("m.off"), false, true);

        QProcess java;
        java.setProcessChannelMode(QProcess::SeparateChannels);
        java.start(QStringLiteral(QEL_JAVA), {QStringLiteral("-Djava.awt.headless=true"), QStringLiteral("-cp"),
                                              dir.path(), QStringLiteral("OOGL_OFF"), path(QStringLiteral("m.off"))});
        QVERIFY(java.waitForFinished(120000));
        QVERIFY2(java.exitStatus() == QProcess::NormalExit && java.exitCode() == 0,
                 java.readAllStandardError().constData());
        QList<QByteArray> out = java.readAllStandardOutput().trimmed().split('\n');
        for (QByteArray& line : out)
            line = line.trimmed();

        QCOMPARE(out.value(0), QByteArray("vertices 3"));
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
        const QList<QByteArray> faces{"f 2 -1 0 colour 1.0 0.5 0.5", "f 2 1 2 colour 0.5 0.5 0.5",
                                      "f 2 1 8 colour 0.0 0.0 0.0", "f 2 8 2 colour 0.0 0.0 0.5"};
        QCOMPARE(out.mid(5), faces);
#endif
    }
};

QTEST_MAIN(TestApplet)
#include "test_applet.moc"
