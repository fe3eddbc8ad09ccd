// The OFF file: its exact bytes, the proposed name, which records become faces
// and in which colour, and what the save dialog's answer does.
#include "export/export.h"
#include "model/module1.h"
#include "tests/support/files.h"
#include "tests/support/model.h"
#include "tests/support/seams.h"
#include "toolkit/errors.h"
#include "toolkit/numeric.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

using support::Point;
using support::Record;

Q_DECLARE_METATYPE(std::vector<Record>)

class TestOff : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }

    // The OFF file of the current model, written through the save dialog.
    QByteArray exportToFile(const QString& name)
    {
        support::SaveDialog dialog(path(name));
        Module1::saveoff();
        return support::bytesOf(path(name));
    }

private slots:
    void init()
    {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }
    void cleanup() { support::resetSeams(); }

    void workedExampleByteForByte()
    {
        support::loadSquare();
        support::SaveDialog dialog(path(QStringLiteral("square.off")));
        Module1::saveoff();

        QCOMPARE(dialog.proposed, QStringList{QStringLiteral("square.off")});
        const QByteArray bytes = support::bytesOf(path(QStringLiteral("square.off")));
        QCOMPARE(bytes, support::squareOff);
        QCOMPARE(bytes.size(), 105);
        // Nothing else lands in the folder: no page, no class file, no temporary file.
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("square.off")});
    }

    void beforeAnyModel()
    {
        support::SaveDialog dialog(path(QStringLiteral("3D.off")));
        Module1::saveoff();
        QCOMPARE(dialog.proposed, QStringList{QStringLiteral("3D.off")});
        QCOMPARE(support::bytesOf(path(QStringLiteral("3D.off"))), QByteArray("OFF\r\n0 0 99\r\n"));
    }

    void proposedNameAndCancel_data()
    {
        QTest::addColumn<QString>("datname");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("start name") << "3D"
                                    << "3D.off";
        QTest::newRow("text up to the first dot") << "cube.old.txt"
                                                  << "cube.off";
        QTest::newRow("no dot") << "cube"
                                << "cube.off";
        QTest::newRow("only dot first") << ".x"
                                        << ".off";
        QTest::newRow("already .off") << "mesh.off"
                                      << "mesh.off";
        QTest::newRow("non-ASCII kept") << QString::fromUtf8("Würfel.txt") << QString::fromUtf8("Würfel.off");
    }
    void proposedNameAndCancel()
    {
        QFETCH(QString, datname);
        QFETCH(QString, proposed);
        support::loadSquare();
        Module1::datname = datname;
        // Cancelled: nothing is written, not even with both flags set.
        Module1::htmlsave = true;
        Module1::javasave = true;
        support::SaveDialog dialog;
        Module1::saveoff();
        QCOMPARE(dialog.proposed, QStringList{proposed});
        QCOMPARE(support::entries(dir.path()), QStringList{});
        QCOMPARE(Module1::datname, datname);
        QVERIFY(Module1::htmlsave && Module1::javasave);
    }

    void nameWithoutExtensionUsedUnchanged()
    {
        support::loadSquare();
        QCOMPARE(exportToFile(QStringLiteral("mesh")), support::squareOff);
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("mesh")});
    }

    // Two points; the records decide the faces. Each expected line is one face; a
    // step to point 0 or past the count names the origin, vertex 2, written after
    // the points only when some face names it.
    void strokes_data()
    {
        QTest::addColumn<std::vector<Record>>("records");
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<bool>("origin");

        QTest::newRow("no records") << std::vector<Record>{} << QStringList{} << false;
        QTest::newRow("record 1 never, whatever its code") << std::vector<Record>{{2, 15}} << QStringList{} << false;
        QTest::newRow("second record from the first's point")
            << std::vector<Record>{{1, 15}, {2, 15}} << QStringList{"2 0 1 1 1 1"} << false;
        QTest::newRow("pen up skipped, next starts at its point")
            << std::vector<Record>{{1, 4}, {2, 0}, {1, 4}} << QStringList{"2 1 0 0.5 0 0"} << false;
        QTest::newRow("negative skipped, next starts at its point")
            << std::vector<Record>{{1, 4}, {2, -1}, {1, 2}} << QStringList{"2 1 0 0 0.5 0"} << false;
        QTest::newRow("minus sixteen skipped") << std::vector<Record>{{1, 4}, {2, -16}} << QStringList{} << false;
        QTest::newRow("7 and 8 alike") << std::vector<Record>{{1, 0}, {2, 7}, {1, 8}}
                                       << QStringList{"2 0 1 0.5 0.5 0.5", "2 1 0 0.5 0.5 0.5"} << false;
        QTest::newRow("16 exported black")
            << std::vector<Record>{{1, 0}, {2, 16}} << QStringList{"2 0 1 0 0 0"} << false;
        QTest::newRow("12 and 1") << std::vector<Record>{{1, 0}, {2, 12}, {1, 1}}
                                  << QStringList{"2 0 1 1 0.5 0.5", "2 1 0 0 0 0.5"} << false;
        QTest::newRow("only the low four bits") << std::vector<Record>{{1, 0}, {2, 31}, {1, 1 << 20 | 3}}
                                                << QStringList{"2 0 1 1 1 1", "2 1 0 0 0.5 0.5"} << false;

        QTest::newRow("a step to the origin")
            << std::vector<Record>{{1, 0}, {2, 15}, {0, 12}} << QStringList{"2 0 1 1 1 1", "2 1 2 1 0.5 0.5"} << true;
        QTest::newRow("from the origin, and past the count")
            << std::vector<Record>{{0, 0}, {2, 6}, {7, 9}} << QStringList{"2 2 1 0.5 0.5 0", "2 1 2 0.5 0.5 1"} << true;
        QTest::newRow("the last row of the table")
            << std::vector<Record>{{1, 0}, {3000, 15}, {3, 2}} << QStringList{"2 0 2 1 1 1", "2 2 2 0 0.5 0"} << true;
        QTest::newRow("the origin only where no face is written")
            << std::vector<Record>{{0, 4}, {1, 0}, {2, 15}, {0, 0}, {3, -1}} << QStringList{"2 0 1 1 1 1"} << false;
    }
    void strokes()
    {
        QFETCH(std::vector<Record>, records);
        QFETCH(QStringList, faces);
        QFETCH(bool, origin);
        support::loadModel(QStringLiteral("t.txt"), {{1, 2, 3}, {4, 5, 6}}, records);

        QByteArray expected = "OFF\r\n" + QByteArray(origin ? "3 " : "2 ") + QByteArray::number(faces.size())
            + " 99\r\n1 2 3\r\n4 5 6\r\n" + (origin ? "0 0 0\r\n" : "");
        for (const QString& f : faces)
            expected += f.toLatin1() + "\r\n";
        QCOMPARE(exportToFile(QStringLiteral("t.off")), expected);
    }

    // A count below 0 counts nothing: no vertex of the model's own, no face.
    void negativeCounts_data()
    {
        QTest::addColumn<qint64>("points");
        QTest::addColumn<qint64>("records");
        QTest::addColumn<QByteArray>("off");
        QTest::newRow("points below 0") << qint64(-1) << qint64(3)
                                        << QByteArray("OFF\r\n1 2 99\r\n0 0 0\r\n"
                                                      "2 0 0 1 1 1\r\n2 0 0 0 0.5 0\r\n");
        QTest::newRow("points below 0, no records") << qint64(-1) << qint64(0) << QByteArray("OFF\r\n0 0 99\r\n");
        QTest::newRow("records below 0") << qint64(2) << qint64(-3)
                                         << QByteArray("OFF\r\n2 0 99\r\n1 2 3\r\n4 5 6\r\n");
    }
    void negativeCounts()
    {
        QFETCH(qint64, points);
        QFETCH(qint64, records);
        QFETCH(QByteArray, off);
        support::loadModel(QStringLiteral("t.txt"), {{1, 2, 3}, {4, 5, 6}}, {{1, 0}, {2, 15}, {1, 2}});
        Module1::anzpkt = points;
        Module1::anzlin = records;
        QCOMPARE(exportToFile(QStringLiteral("t.off")), off);
    }

    // A record that names a point outside the table, whatever its code and wherever
    // it stands, refuses the export before the save dialog: nothing is asked for and
    // nothing is written, an older file of the name included.
    void recordNamingNoPointRefused_data()
    {
        QTest::addColumn<std::vector<Record>>("records");
        QTest::addColumn<QString>("named"); // "record point"
        QTest::newRow("negative, record 1") << std::vector<Record>{{-5, 0}, {1, 1}} << "1 -5";
        QTest::newRow("3001, pen up") << std::vector<Record>{{1, 0}, {2, 15}, {3001, 0}, {1, 15}} << "3 3001";
        QTest::newRow("the last record") << std::vector<Record>{{1, 0}, {2, 15}, {-1, 15}} << "3 -1";
        QTest::newRow("the first of two") << std::vector<Record>{{1, 0}, {4000, 7}, {-9, 7}} << "2 4000";
        QTest::newRow("the smallest number")
            << std::vector<Record>{{1, 0}, {std::numeric_limits<std::int64_t>::min(), 15}} << "2 -9223372036854775808";
    }
    void recordNamingNoPointRefused()
    {
        QFETCH(std::vector<Record>, records);
        QFETCH(QString, named);
        support::loadModel(QStringLiteral("far.qel"), {{1, 2, 3}, {4, 5, 6}}, records);
        Module1::htmlsave = true;
        Module1::javasave = true;
        support::writeBytes(path(QStringLiteral("far.off")), "older file");
        support::SaveDialog dialog(path(QStringLiteral("far.off")));

        QString message = QStringLiteral("no error");
        try {
            Module1::saveoff();
        } catch (const toolkit::UnsupportedFormatException& e) {
            message = QString::fromUtf8(e.what());
        }
        const QStringList n = named.split(' ');
        QCOMPARE(message,
                 QStringLiteral("Line record %1 of \"far.qel\" names point %2, but point numbers run from 0 to "
                                "3000. The model cannot be exported; nothing was written.")
                     .arg(n[0], n[1]));
        QCOMPARE(dialog.proposed, QStringList{});
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("far.off")});
        QCOMPARE(support::bytesOf(path(QStringLiteral("far.off"))), QByteArray("older file"));
    }

    // Every coordinate in the shortest text that reads back to the same double, the
    // same text the debug lists show; points no record uses are written too.
    void coordinatesRoundTrip()
    {
        const std::vector<Point> points{
            {0.1, -2.5, 1.0 / 3.0}, {1e21, -0.0, 123456789.125}, {std::numeric_limits<double>::max(), 5e-324, -1e-300}};
        support::loadModel(QStringLiteral("n.txt"), points, {});
        const QList<QByteArray> lines = exportToFile(QStringLiteral("n.off")).split('\n');
        QCOMPARE(lines.size(), 2 + 3 + 1);
        QCOMPARE(lines[2], QByteArray("0.1 -2.5 0.3333333333333333\r"));
        for (int k = 0; k < 3; ++k) {
            const QList<QByteArray> fields = lines[2 + k].chopped(1).split(' ');
            QCOMPARE(fields.size(), 3);
            const double xyz[3] = {points[k].x, points[k].y, points[k].z};
            for (int c = 0; c < 3; ++c) {
                QCOMPARE(QString::fromLatin1(fields[c]), toolkit::Str(xyz[c]));
                bool ok = false;
                const double back = fields[c].toDouble(&ok);
                QVERIFY(ok);
                QCOMPARE(std::signbit(back), std::signbit(xyz[c]));
                QVERIFY(back == xyz[c]);
            }
        }
    }

    void bothFlagsFalseWritesOffAlone()
    {
        support::loadSquare();
        QVERIFY(!Module1::htmlsave && !Module1::javasave);
        exportToFile(QStringLiteral("square.off"));
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("square.off")});
    }

    void exportingTwiceReplaces()
    {
        support::loadSquare();
        support::writeBytes(path(QStringLiteral("same.off")), QByteArray(5000, 'x'));
        QCOMPARE(exportToFile(QStringLiteral("same.off")), support::squareOff);
        support::loadModel(QStringLiteral("b.txt"), {{7, 8, 9}}, {});
        QCOMPARE(exportToFile(QStringLiteral("same.off")), QByteArray("OFF\r\n1 0 99\r\n7 8 9\r\n"));
        QCOMPARE(support::entries(dir.path()), QStringList{QStringLiteral("same.off")});
    }

    void modelUnchanged()
    {
        support::loadSquare();
        exportToFile(QStringLiteral("square.off"));
        QCOMPARE(Module1::anzpkt, std::int64_t(4));
        QCOMPARE(Module1::anzlin, std::int64_t(7));
        QCOMPARE(Module1::linie(6, 2), std::int64_t(-2));
        QCOMPARE(Module1::datname, QStringLiteral("square.txt"));
    }
};

QTEST_MAIN(TestOff)
#include "test_off.moc"
