// The save dialog the program installs: a typed name with double quotes is the
// name of one file (Qt's dialog alone reads it as a list of quoted names and
// answers with one of them); other names go Qt's own way.
#include "app/save_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Answers the dialog once it is shown: types `typed` and presses Return; answers a
// question about replacing a file with `answer`; cancels a dialog that stays open,
// noting the folder it then shows.
struct Driver {
    QString typed;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    QString folderWhenStillOpen;
    bool asked = false;
    int step = 0;
    QTimer timer;

    void start()
    {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] { act(); });
        timer.start();
    }

    void act()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (step == 0) {
            auto* dialog = qobject_cast<qel::SaveDialog*>(modal);
            if (!dialog || !dialog->isVisible())
                return;
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!field)
                qFatal("no file name field");
            // Typed as a user types it, into the focused field: without the focus,
            // Qt's dialog puts a name it selects in its list into the field.
            if (!field->hasFocus()) {
                QApplication::setActiveWindow(dialog);
                field->setFocus();
                return;
            }
            step = 1;
            field->setText(typed);
            // Pressed from its own event: the question it may open runs this timer too.
            QTimer::singleShot(0, field, [field] { QTest::keyClick(field, Qt::Key_Return); });
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            asked = true;
            if (QAbstractButton* b = box->button(answer))
                b->click();
            else
                box->reject(); // a question the case did not expect
            return;
        }
        if (auto* dialog = qobject_cast<qel::SaveDialog*>(modal); dialog && dialog->isVisible()) {
            folderWhenStillOpen = dialog->directory().absolutePath();
            dialog->reject();
        }
    }
};

} // namespace

class TestSaveDialog : public QObject {
    Q_OBJECT

private slots:
    void typedName_data()
    {
        QTest::addColumn<QString>("typed");           // %1: the dialog's folder
        QTest::addColumn<QStringList>("existing");    // made first; a trailing "/" makes a folder
        QTest::addColumn<int>("answer");              // to "replace it?"
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("chosen");          // empty: nothing chosen
        QTest::addColumn<QString>("folderStillOpen"); // empty: the dialog closed
        const int none = QMessageBox::NoButton;
        QTest::newRow("quoted word inside") << "a \"b\" c.off" << QStringList{} << none << false
                                           << "%1/a \"b\" c.off" << "";
        QTest::newRow("quoted word, full path") << "%1/sub/a \"b\" c.off" << QStringList{"sub/", "sub/b"} << none
                                               << false << "%1/sub/a \"b\" c.off" << "";
        QTest::newRow("whole name quoted") << "\"m.off\"" << QStringList{"m.off"} << none << false
                                          << "%1/\"m.off\"" << "";
        QTest::newRow("plain name") << "plain.off" << QStringList{} << none << false << "%1/plain.off" << "";
        QTest::newRow("existing, replaced") << "a \"b\".off" << QStringList{"a \"b\".off"}
                                           << int(QMessageBox::Yes) << true << "%1/a \"b\".off" << "";
        QTest::newRow("existing, kept") << "a \"b\".off" << QStringList{"a \"b\".off"} << int(QMessageBox::No)
                                       << true << "" << "%1";
        QTest::newRow("folder with quotes") << "f \"x\"" << QStringList{"f \"x\"/"} << none << false << ""
                                           << "%1/f \"x\"";
    }
    void typedName()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, existing);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(QString, chosen);
        QFETCH(QString, folderStillOpen);
        QTemporaryDir dir;
        const QString folder = QDir(dir.path()).canonicalPath();
        for (const QString& name : existing) {
            if (name.endsWith(QLatin1Char('/'))) {
                QVERIFY(QDir(folder).mkpath(name));
            } else {
                QFile f(folder + QLatin1Char('/') + name);
                QVERIFY(f.open(QIODevice::WriteOnly));
            }
        }

        Driver driver;
        driver.typed = typed.contains(QStringLiteral("%1")) ? typed.arg(folder) : typed;
        driver.answer = QMessageBox::StandardButton(answer);
        driver.start();
        const std::optional<QString> result = qel::SaveDialog::ask(nullptr, folder + QStringLiteral("/proposed.off"));
        driver.timer.stop();

        QCOMPARE(result.value_or(QString()), chosen.isEmpty() ? QString() : chosen.arg(folder));
        QCOMPARE(driver.asked, asked);
        QCOMPARE(driver.folderWhenStillOpen, folderStillOpen.isEmpty() ? QString() : folderStillOpen.arg(folder));
    }
};

QTEST_MAIN(TestSaveDialog)
#include "test_save_dialog.moc"
