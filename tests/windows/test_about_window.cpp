// The about window: its controls, one window at a time, the OK button and the
// default-button key, and the logo caches with a resource lookup that can fail.
#include "tests/support/windows.h"
#include "toolkit/errors.h"
#include "toolkit/report.h"
#include "toolkit/resources.h"
#include "windows/WIInfo.h"

#include <QApplication>
#include <QFile>
#include <QMap>
#include <QPushButton>
#include <QTest>

#include <algorithm>

namespace {

// Counts the lookups per file name; names in `missing` find nothing, names in
// `failing` raise an error; the rest come from the program's resources.
struct CountingLookup {
    QMap<QString, int> calls;
    QStringList missing;
    QStringList failing;

    void install()
    {
        toolkit::setResourceLookup([this](const QString& name) -> std::optional<QByteArray> {
            ++calls[name];
            if (failing.contains(name))
                throw toolkit::IOException("resource store unreadable");
            if (missing.contains(name))
                return std::nullopt;
            QFile f(QStringLiteral(":/qel/") + name);
            if (!f.open(QIODevice::ReadOnly))
                return std::nullopt;
            return f.readAll();
        });
    }
};

const QString kQel = QStringLiteral("Qellogo160.jpg");
const QString kPellucor = QStringLiteral("Pellucor-100px.jpg");

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT

private:
    CountingLookup lookup_;
    QStringList errors_;

private slots:
    void init()
    {
        qel::testing::resetLogoCaches();
        lookup_ = CountingLookup();
        lookup_.install();
        errors_.clear();
        toolkit::setReport([this](const QString& m) { errors_ << m; });
    }

    void cleanup()
    {
        support::resetSeamsAndWindows();
        QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join('\n')));
    }

    // The logos are our own pictures among the program's resources, at their sizes.
    void logosAreResources()
    {
        toolkit::resetResourceLookup();
        const auto qel = toolkit::GetPictureFromResource(kQel);
        const auto pellucor = toolkit::GetPictureFromResource(kPellucor);
        QVERIFY(qel);
        QVERIFY(pellucor);
        QCOMPARE(qel->size(), QSize(160, 160));
        QCOMPARE(pellucor->size(), QSize(100, 50));
    }

    void windowAndControls()
    {
        qel::WIInfo* w = support::openShown<qel::WIInfo>();
        QCOMPARE(w->windowTitle(), QStringLiteral("Info"));
        QCOMPARE(w->size(), QSize(238, 315));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(w->grab().toImage().pixelColor(230, 150), QColor(Qt::white));

        QCOMPARE(w->PushButton1()->geometry(), QRect(85, 275, 69, 20));
        QCOMPARE(w->PushButton1()->text(), QStringLiteral("OK"));
        QVERIFY(w->PushButton1()->isDefault());
        QCOMPARE(w->PushButton1()->font().pixelSize(), 12);
        QCOMPARE(w->ImageWell1()->geometry(), QRect(39, 52, 160, 160));
        QCOMPARE(w->Canvas1()->geometry(), QRect(0, 0, 100, 50));
        QCOMPARE(w->Canvas1()->focusPolicy(), Qt::NoFocus);

        struct Expected {
            QLabel* label;
            QString text;
            QRect geometry;
            QFont font;
            Qt::Alignment horizontal;
        };
        const auto sized = [](int pixels, bool bold) {
            QFont f = QApplication::font();
            f.setPixelSize(pixels);
            f.setBold(bold);
            return f;
        };
        const Expected labels[] = {
            {w->Label1(), w->Label1()->text(), {101, 295, 137, 20}, sized(9, false), Qt::AlignRight},
            {w->Label2(), "Qel-Viewer", {69, 224, 100, 26}, sized(16, true), Qt::AlignLeft},
            {w->Label3(), "Version 2.5", {69, 243, 100, 20}, QApplication::font(), Qt::AlignHCenter},
        };
        for (const Expected& e : labels) {
            QCOMPARE(e.label->text(), e.text);
            QCOMPARE(e.label->geometry(), e.geometry);
            QCOMPARE(e.label->font(), e.font);
            // Every text fits its box.
            QVERIFY(e.label->fontMetrics().horizontalAdvance(e.text) <= e.geometry.width());
            QCOMPARE(e.label->alignment() & Qt::AlignHorizontal_Mask, e.horizontal);
        }
        QVERIFY(!w->Label1()->text().isEmpty());
    }

    // There is never a second about window; showing the open one looks nothing up.
    void oneWindowAtATime()
    {
        qel::WIInfo* w = support::openShown<qel::WIInfo>();
        const auto calls = lookup_.calls;
        QCOMPARE(WIInfo(), w);
        w->Show();
        QCOMPARE(qel::WIInfo::liveWindow(), w);
        const QWidgetList tops = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(tops.begin(), tops.end(),
                               [](QWidget* t) { return dynamic_cast<qel::WIInfo*>(t) && t->isVisible(); }),
                 1);
        QCOMPARE(lookup_.calls, calls);
    }

    // OK closes the window, by a click or by the default-button key, wherever the
    // focus is.
    void okCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click") << "click";
        QTest::newRow("Return on the window") << "return-window";
        QTest::newRow("Enter on the window") << "enter-window";
        QTest::newRow("Return on the button") << "return-button";
    }

    void okCloses()
    {
        QFETCH(QString, how);
        qel::WIInfo* w = support::openShown<qel::WIInfo>();
        if (how == "click")
            QTest::mouseClick(w->PushButton1(), Qt::LeftButton);
        else if (how == "return-window")
            QTest::keyClick(w, Qt::Key_Return);
        else if (how == "enter-window")
            QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier);
        else
            QTest::keyClick(w->PushButton1(), Qt::Key_Return);
        QCOMPARE(qel::WIInfo::liveWindow(), nullptr);
        QVERIFY(!w->isVisible());
    }

    // Found logos are looked up once per run; later windows show the same objects.
    void cachesKeepFoundLogos()
    {
        qel::WIInfo* first = support::openShown<qel::WIInfo>();
        QCOMPARE(lookup_.calls.value(kQel), 1);
        QCOMPARE(lookup_.calls.value(kPellucor), 1);
        const QImage* qel = first->ImageWell1()->image().get();
        const QImage* pellucor = first->Canvas1()->backdrop().get();
        QVERIFY(qel);
        QVERIFY(pellucor);
        QTest::mouseClick(first->PushButton1(), Qt::LeftButton);
        QCOMPARE(qel::WIInfo::liveWindow(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        qel::WIInfo* second = support::openShown<qel::WIInfo>();
        QCOMPARE(lookup_.calls.value(kQel), 1);
        QCOMPARE(lookup_.calls.value(kPellucor), 1);
        QCOMPARE(second->ImageWell1()->image().get(), qel);
        QCOMPARE(second->Canvas1()->backdrop().get(), pellucor);
        QVERIFY(!second->ImageWell1()->pixmap().isNull());
        // The backdrop is what the canvas shows.
        QCOMPARE(second->Canvas1()->grab().toImage().convertToFormat(QImage::Format_RGB32),
                 pellucor->convertToFormat(QImage::Format_RGB32));
    }

    // A logo the resources do not yield is looked up again for every new window; the
    // window still opens with all its controls.
    void missingLogoLookedUpAgain()
    {
        lookup_.missing << kQel;
        for (int round = 1; round <= 3; ++round) {
            qel::WIInfo* w = support::openShown<qel::WIInfo>();
            QCOMPARE(lookup_.calls.value(kQel), round);
            QCOMPARE(lookup_.calls.value(kPellucor), 1);
            QCOMPARE(w->ImageWell1()->image(), nullptr);
            QVERIFY(w->ImageWell1()->pixmap().isNull());
            QVERIFY(w->Canvas1()->backdrop());
            QCOMPARE(w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), qsizetype(6));
            QVERIFY(w->Label3()->isVisible());
            w->Close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        // Once it is there again, it is found and kept.
        lookup_.missing.clear();
        support::openShown<qel::WIInfo>();
        QCOMPARE(lookup_.calls.value(kQel), 4);
        QVERIFY(qel::WIInfo::liveWindow()->ImageWell1()->image());
        support::closeIfLive<qel::WIInfo>();
        support::openShown<qel::WIInfo>();
        QCOMPARE(lookup_.calls.value(kQel), 4);
    }

    // A lookup that raises an error ends the window's construction; nothing is cached,
    // so the next window tries again.
    void lookupErrorBuildsNoWindow()
    {
        lookup_.failing << kPellucor;
        QVERIFY_THROWS_EXCEPTION(toolkit::IOException, WIInfo());
        QCOMPARE(qel::WIInfo::liveWindow(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(lookup_.calls.value(kPellucor), 1);

        lookup_.failing.clear();
        qel::WIInfo* w = support::openShown<qel::WIInfo>();
        QCOMPARE(lookup_.calls.value(kPellucor), 2);
        QCOMPARE(lookup_.calls.value(kQel), 1); // found the first time, kept since
        QVERIFY(w->Canvas1()->backdrop());
    }
};

QTEST_MAIN(TestAboutWindow)
#include "test_about_window.moc"
