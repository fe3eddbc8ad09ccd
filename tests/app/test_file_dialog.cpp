// The open and save dialogs the program installs: a typed name with double quotes
// is the name of one file (Qt's dialog alone reads it as a list of quoted names and
// answers with one of them); other names go Qt's own way.
#include "app/file_dialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// Answers the dialog once it is shown: goes to `folder` if one is given, types
// `typed` and presses Return; answers a question (replace a file? a file not
// found) with `answer`; cancels a dialog that stays open, noting the folder it
// then shows.
struct Driver {
    QString folder;
    QString typed;
    QMessageBox::StandardButton answer = QMessageBox::NoButton;
    QString folderWhenStillOpen;
    bool asked = false;
    bool acceptEnabled = false; // the Open or Save button, once the name is typed
    // Typed key by key before Qt has given the dialog the focus, as keys typed fast
    // on a slow machine arrive: the dialog's list still shows what Qt selected for
    // the text typed so far.
    bool beforeFocus = false;
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
            auto* dialog = qobject_cast<qel::FileDialog*>(modal);
            if (!dialog || !dialog->isVisible())
                return;
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!field)
                qFatal("no file name field");
            if (!folder.isEmpty() && dialog->directory().absolutePath() != folder) {
                dialog->setDirectory(folder);
                return;
            }
            if (beforeFocus) {
                step = 1;
                if (field->hasFocus())
                    QApplication::setActiveWindow(nullptr);
                QTest::keyClicks(field, typed);
                QTimer::singleShot(0, field, [field] { QTest::keyClick(field, Qt::Key_Return); });
                return;
            }
            // Typed as a user types it, into the focused field: without the focus,
            // Qt's dialog puts a name it selects in its list into the field.
            if (!field->hasFocus()) {
                QApplication::setActiveWindow(dialog);
                field->setFocus();
                return;
            }
            step = 1;
            field->setText(typed);
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            QPushButton* accept = buttons ? buttons->button(QDialogButtonBox::Open) : nullptr;
            if (!accept && buttons)
                accept = buttons->button(QDialogButtonBox::Save);
            acceptEnabled = accept && accept->isEnabled();
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
        if (auto* dialog = qobject_cast<qel::FileDialog*>(modal); dialog && dialog->isVisible()) {
            folderWhenStillOpen = dialog->directory().absolutePath();
            dialog->reject();
        }
    }
};

// One dialog in a fresh folder that holds `existing`: `typed` is typed with Return,
// a question answered with `answer`. What the user got and saw goes to `outcome`.
struct Outcome {
    QString folder;     // the fresh folder, for %1
    QString chosen;     // empty: nothing chosen
    bool asked = false; // a question came up
    bool acceptEnabled = false;
    QString folderStillOpen; // empty: the dialog closed
};

void runDialog(qel::FileDialog::Purpose purpose, const QString& typed, const QStringList& existing, int answer,
               Outcome& outcome, bool beforeFocus = false)
{
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
    driver.beforeFocus = beforeFocus;
    driver.start();
    std::optional<QString> result;
    if (purpose == qel::FileDialog::Purpose::Save) {
        result = qel::FileDialog::askSave(nullptr, folder + QStringLiteral("/proposed.off"));
    } else {
        // The open dialog starts in the folder of an earlier dialog: the user goes
        // to the fresh one first.
        driver.folder = folder;
        result = qel::FileDialog::askOpen(nullptr);
    }
    driver.timer.stop();

    outcome.folder = folder;
    outcome.chosen = result.value_or(QString());
    outcome.asked = driver.asked;
    outcome.acceptEnabled = driver.acceptEnabled;
    outcome.folderStillOpen = driver.folderWhenStillOpen;
}

QString inFolder(const QString& expected, const Outcome& outcome)
{
    return expected.isEmpty() ? QString() : expected.arg(outcome.folder);
}

} // namespace

class TestFileDialog : public QObject {
    Q_OBJECT

private slots:
    // The save dialog.
    void typedName_data()
    {
        QTest::addColumn<QString>("typed");        // %1: the dialog's folder
        QTest::addColumn<QStringList>("existing"); // made first; a trailing "/" makes a folder
        QTest::addColumn<int>("answer");           // to "replace it?"
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QString>("chosen");          // empty: nothing chosen
        QTest::addColumn<QString>("folderStillOpen"); // empty: the dialog closed
        const int none = QMessageBox::NoButton;
        QTest::newRow("quoted word inside") << "a \"b\" c.off" << QStringList{} << none << false << "%1/a \"b\" c.off"
                                            << "";
        QTest::newRow("quoted word, full path")
            << "%1/sub/a \"b\" c.off" << QStringList{"sub/", "sub/b"} << none << false << "%1/sub/a \"b\" c.off"
            << "";
        QTest::newRow("whole name quoted") << "\"m.off\"" << QStringList{"m.off"} << none << false << "%1/\"m.off\""
                                           << "";
        QTest::newRow("plain name") << "plain.off" << QStringList{} << none << false << "%1/plain.off"
                                    << "";
        QTest::newRow("existing, replaced")
            << "a \"b\".off" << QStringList{"a \"b\".off"} << int(QMessageBox::Yes) << true << "%1/a \"b\".off"
            << "";
        QTest::newRow("existing, kept") << "a \"b\".off" << QStringList{"a \"b\".off"} << int(QMessageBox::No) << true
                                        << ""
                                        << "%1";
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
        Outcome outcome;
        runDialog(qel::FileDialog::Purpose::Save, typed, existing, answer, outcome);
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(outcome.chosen, inFolder(chosen, outcome));
        QCOMPARE(outcome.asked, asked);
        QCOMPARE(outcome.folderStillOpen, inFolder(folderStillOpen, outcome));
    }

    // The open dialog: the file opened is the one typed, and its Open button says
    // whether that file is there.
    void typedOpenName_data()
    {
        QTest::addColumn<QString>("typed");        // %1: the dialog's folder
        QTest::addColumn<QStringList>("existing"); // made first; a trailing "/" makes a folder
        QTest::addColumn<int>("answer");           // to "not found"
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("enabled");            // the Open button, with the name typed
        QTest::addColumn<QString>("chosen");          // empty: nothing chosen
        QTest::addColumn<QString>("folderStillOpen"); // empty: the dialog closed
        const int none = QMessageBox::NoButton;
        // Qt alone would open "b", which lies beside the typed file.
        QTest::newRow("quoted word inside")
            << "a \"b\" c.qel" << QStringList{"a \"b\" c.qel", "b"} << none << false << true << "%1/a \"b\" c.qel"
            << "";
        QTest::newRow("quoted word, full path")
            << "%1/sub/a \"b\" c.qel" << QStringList{"sub/", "sub/a \"b\" c.qel", "b"} << none << false << true
            << "%1/sub/a \"b\" c.qel"
            << "";
        QTest::newRow("whole name quoted")
            << "\"m.qel\"" << QStringList{"\"m.qel\"", "m.qel"} << none << false << true << "%1/\"m.qel\""
            << "";
        QTest::newRow("plain name") << "plain.qel" << QStringList{"plain.qel"} << none << false << true
                                    << "%1/plain.qel"
                                    << "";
        // Only "b" is there: the typed file is not found, and the dialog stays open.
        QTest::newRow("quoted name not found")
            << "a \"b\" c.qel" << QStringList{"b"} << int(QMessageBox::Ok) << true << false << ""
            << "%1";
        QTest::newRow("folder with quotes") << "f \"x\"" << QStringList{"f \"x\"/"} << none << false << true << ""
                                            << "%1/f \"x\"";
    }
    void typedOpenName()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, existing);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, enabled);
        QFETCH(QString, chosen);
        QFETCH(QString, folderStillOpen);
        Outcome outcome;
        runDialog(qel::FileDialog::Purpose::Open, typed, existing, answer, outcome);
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(outcome.chosen, inFolder(chosen, outcome));
        QCOMPARE(outcome.asked, asked);
        QCOMPARE(outcome.acceptEnabled, enabled);
        QCOMPARE(outcome.folderStillOpen, inFolder(folderStillOpen, outcome));
    }

    // A full path typed key by key before the dialog holds Qt's focus: on the way,
    // Qt selects in its list each folder the path passes through, and a folder left
    // selected there would be entered instead of taking the typed file.
    void typedBeforeFocus_data()
    {
        QTest::addColumn<int>("purpose");
        QTest::addColumn<QString>("typed"); // %1: the dialog's folder
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<int>("answer"); // to "replace it?"
        QTest::addColumn<QString>("chosen");
        const int open = int(qel::FileDialog::Purpose::Open);
        const int save = int(qel::FileDialog::Purpose::Save);
        const int none = QMessageBox::NoButton;
        QTest::newRow("open, file in a subfolder")
            << open << "%1/sub/m.qel" << QStringList{"sub/", "sub/m.qel"} << none << "%1/sub/m.qel";
        QTest::newRow("open, file beside a folder of its name's start")
            << open << "%1/m.qel" << QStringList{"m/", "m.qel"} << none << "%1/m.qel";
        QTest::newRow("save, new file in a subfolder")
            << save << "%1/sub/new.off" << QStringList{"sub/"} << none << "%1/sub/new.off";
        QTest::newRow("save, existing file replaced") << save << "%1/sub/old.off" << QStringList{"sub/", "sub/old.off"}
                                                      << int(QMessageBox::Yes) << "%1/sub/old.off";
    }
    void typedBeforeFocus()
    {
        QFETCH(int, purpose);
        QFETCH(QString, typed);
        QFETCH(QStringList, existing);
        QFETCH(int, answer);
        QFETCH(QString, chosen);
        Outcome outcome;
        runDialog(qel::FileDialog::Purpose(purpose), typed, existing, answer, outcome, true);
        if (QTest::currentTestFailed())
            return;

        QCOMPARE(outcome.folderStillOpen, QString());
        QCOMPARE(outcome.chosen, inFolder(chosen, outcome));
    }

    // The list of completions under the name field holds the keyboard and the mouse
    // while it is open: a dialog that closes with the list open closes the list
    // first, so that the next key or click reaches the window below.
    void completionsCloseWithTheDialog()
    {
        QTemporaryDir dir;
        const QString folder = QDir(dir.path()).canonicalPath();
        QFile model(folder + QStringLiteral("/model.qel"));
        QVERIFY(model.open(QIODevice::WriteOnly));
        model.close();

        bool listOpenAtClose = true;
        bool sawList = false;
        int ticks = 0;
        QTimer timer;
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<qel::FileDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QAbstractItemView* list = field && field->completer() ? field->completer()->popup() : nullptr;
            if (!list)
                qFatal("no list of completions");
            if (++ticks > 1000) { // 20 s: no list came up
                timer.stop();
                dialog->reject();
                return;
            }
            if (dialog->directory().absolutePath() != folder) {
                dialog->setDirectory(folder);
                return;
            }
            if (!sawList) {
                if (!field->hasFocus()) {
                    QApplication::setActiveWindow(dialog);
                    field->setFocus();
                    return;
                }
                // The list offers only names of a folder that has been read.
                auto* shown = dialog->findChild<QListView*>(QStringLiteral("listView"));
                if (!shown || shown->model()->rowCount(shown->rootIndex()) == 0)
                    return;
                if (field->text().isEmpty())
                    QTest::keyClicks(field, QStringLiteral("mod"));
                else if (list->isVisible())
                    sawList = true;
                return;
            }
            timer.stop();
            QTest::keyClicks(field, QStringLiteral("el.qel"));
            struct AtHide : QObject {
                bool& listOpen;
                AtHide(bool& open, QObject* parent) : QObject(parent), listOpen(open) {}
                bool eventFilter(QObject*, QEvent* event) override
                {
                    if (event->type() == QEvent::Hide)
                        listOpen = QApplication::activePopupWidget() != nullptr;
                    return false;
                }
            };
            dialog->installEventFilter(new AtHide(listOpenAtClose, dialog));
            QTest::keyClick(field, Qt::Key_Return); // to the field: the dialog's default button
        });
        timer.start();
        const std::optional<QString> chosen = qel::FileDialog::askOpen(nullptr);
        timer.stop();

        QVERIFY(sawList);
        QCOMPARE(chosen.value_or(QString()), folder + QStringLiteral("/model.qel"));
        QVERIFY2(!listOpenAtClose, "the list of completions was still open when the dialog closed");
    }
};

QTEST_MAIN(TestFileDialog)
#include "test_file_dialog.moc"
