#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <thread>

#include "gui/controls/AppMessageBox.h"
#include "gui/controls/TextCodec.h"

using tarnwick::AppMessageBox;

class SeamsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        AppMessageBox::setTestMode(false);
        AppMessageBox::clearShown();
    }

    void codecMapsTheCodePageBothWays() {
        QCOMPARE(tarnwick::toQ("Osgrel\x92s"), QString::fromUtf8("Osgrel\xE2\x80\x99s"));
        QCOMPARE(tarnwick::fromQ(QString::fromUtf8("Osgrel\xE2\x80\x99s")),
                 std::string("Osgrel\x92s"));
        QCOMPARE(tarnwick::fromQ(QString::fromUtf8("a\xF0\x9F\x98\x80"
                                                   "b")),
                 std::string("a?b"));
        std::string all;
        for (int b = 0; b < 256; ++b) {
            all.push_back(static_cast<char>(b));
        }
        QCOMPARE(tarnwick::fromQ(tarnwick::toQ(all)), all);
    }

    void testModeRecordsTextsAndGivesPresetAnswers() {
        AppMessageBox::setTestMode(true);
        AppMessageBox::presetAnswer(AppMessageBox::Answer::Yes);
        QCOMPARE(AppMessageBox::show("Question?", AppMessageBox::Buttons::YesNo),
                 AppMessageBox::Answer::Yes);
        // Nothing preset: a question is answered in the negative.
        QCOMPARE(AppMessageBox::show("Again?", AppMessageBox::Buttons::OkCancel),
                 AppMessageBox::Answer::Cancel);
        QCOMPARE(AppMessageBox::show(std::string("Task is running")), AppMessageBox::Answer::Ok);
        QCOMPARE(AppMessageBox::shownTexts(),
                 QStringList({"Question?", "Again?", "Task is running"}));
    }

    void realBoxHasCaptionIconAndButtons() {
        // Close the box as soon as it is up and check how it looks.
        QString caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            caption = box->windowTitle();
            icon = box->icon();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(AppMessageBox::show("Really?", AppMessageBox::Buttons::YesNo),
                 AppMessageBox::Answer::No);
        QCOMPARE(caption, QString("Tarnwick"));
        QCOMPARE(icon, QMessageBox::Warning);
    }

    void aWorkerThreadsBoxIsShownOnTheGuiThread() {
        AppMessageBox::setTestMode(false);
        QTimer poll;
        bool closed = false;
        connect(&poll, &QTimer::timeout, &poll, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                QCOMPARE(box->thread(), qApp->thread());
                box->button(QMessageBox::Ok)->click();
                closed = true;
            }
        });
        poll.start(10);
        AppMessageBox::Answer answer = AppMessageBox::Answer::Cancel;
        std::thread worker([&] { answer = AppMessageBox::show("From a worker"); });
        QTRY_VERIFY_WITH_TIMEOUT(closed, 10000);
        worker.join();
        QCOMPARE(answer, AppMessageBox::Answer::Ok);
    }
};

QTEST_MAIN(SeamsTest)
#include "SeamsTest.moc"
