// The OFF file: its exact bytes, the proposed name, which records become faces
// and in which colour, and what the save dialog's answer does.
#include "export/export.h"
#include "model/module1.h"
#include "tests/support/files.h"
#include "tests/support/model.h"
#include "tests/support/seams.h"
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

    // Two points; the records decide the faces. Each expected line is one face.
    void strokes_data()
    {
        QTest::addColumn<std::vector<Record>>("records");
        QTest::addColumn<QStringList>("faces");

        QTest::newRow("no records") << std::vector<Record>{} << QStringList{};
        QTest::newRow("record 1 never, whatever its code") << std::vector<Record>{{2, 15}} << QStringList{};
        QTest::newRow("second record from the first's point")
            << std::vector<Record>{{1, 15}, {2, 15}} << QStringList{"2 0 1 1 1 1"};
        QTest::newRow("pen up skipped, next starts at its point")
            << std::vector<Record>{{1, 4}, {2, 0}, {1, 4}} << QStringList{"2 1 0 0.5 0 0"};
        QTest::newRow("negative skipped, next starts at its point")
            << std::vector<Record>{{1, 4}, {2, -1}, {1, 2}} << QStringList{"2 1 0 0 0.5 0"};
        QTest::newRow("minus sixteen skipped") << std::vector<Record>{{1, 4}, {2, -16}} << QStringList{};
        QTest::newRow("7 and 8 alike") << std::vector<Record>{{1, 0}, {2, 7}, {1, 8}}
                                       << QStringList{"2 0 1 0.5 0.5 0.5", "2 1 0 0.5 0.5 0.5"};
        QTest::newRow("16 exported black") << std::vector<Record>{{1, 0}, {2, 16}} << QStringList{"2 0 1 0 0 0"};
        QTest::newRow("12 and 1") << std::vector<Record>{{1, 0}, {2, 12}, {1, 1}}
                                  << QStringList{"2 0 1 1 0.5 0.5", "2 1 0 0 0 0.5"};
        QTest::newRow("only the low four bits")
            << std::vector<Record>{{1, 0}, {2, 31}, {1, 1 << 20 | 3}} << QStringList{"2 0 1 1 1 1", "2 1 0 0 0.5 0.5"};
        QTest::newRow("origin gives -1, past the end unchecked")
            << std::vector<Record>{{0, 0}, {2, 6}, {7, 9}} << QStringList{"2 -1 1 0.5 0.5 0", "2 1 6 0.5 0.5 1"};
        QTest::newRow("negative point number") << std::vector<Record>{{-5, 0}, {1, 1}} << QStringList{"2 -6 0 0 0 0.5"};
    }
    void strokes()
    {
        QFETCH(std::vector<Record>, records);
        QFETCH(QStringList, faces);
        support::loadModel(QStringLiteral("t.txt"), {{1, 2, 3}, {4, 5, 6}}, records);

        QByteArray expected = "OFF\r\n2 " + QByteArray::number(faces.size()) + " 99\r\n1 2 3\r\n4 5 6\r\n";
        for (const QString& f : faces)
            expected += f.toLatin1() + "\r\n";
        QCOMPARE(exportToFile(QStringLiteral("t.off")), expected);
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
