#include "widgets/MsgBox.h"
#include "WhenBoxShows.h"

#include <QPushButton>
#include <QtTest>

// The real dialog, answered from the keyboard once it is up.
class MsgBoxTest : public QObject {
    Q_OBJECT

private slots:
    // Escape answers a question No or Cancel, never Yes; Y and N answer Yes and No.
    void keysAnswerTheQuestion_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::newRow("Escape, Yes/No/Cancel")
            << 275 << int(Qt::Key_Escape) << MsgBoxAnswer::Cancel;
        QTest::newRow("Escape, Yes/No") << 4 << int(Qt::Key_Escape) << MsgBoxAnswer::No;
        QTest::newRow("Escape, Yes/No, No default")
            << 308 << int(Qt::Key_Escape) << MsgBoxAnswer::No;
        QTest::newRow("Escape, OK/Cancel") << 1 << int(Qt::Key_Escape) << MsgBoxAnswer::Cancel;
        QTest::newRow("Escape, OK") << 16 << int(Qt::Key_Escape) << MsgBoxAnswer::Ok;
        QTest::newRow("Y") << 275 << int(Qt::Key_Y) << MsgBoxAnswer::Yes;
        QTest::newRow("N") << 4 << int(Qt::Key_N) << MsgBoxAnswer::No;
    }
    void keysAnswerTheQuestion() {
        QFETCH(int, style);
        QFETCH(int, key);
        QFETCH(int, answer);
        whenBoxShows([key](QMessageBox* box) { QTest::keyClick(box, Qt::Key(key)); });
        // With details, as a failure shows them: a third button, which Escape must pass by.
        QCOMPARE(MsgBox(QStringLiteral("Sure?"), style, {}, QStringLiteral("why")), answer);
    }

    void style275AsksYesNoCancelWithStopIconAndNoAsDefault() {
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QPixmap iconShown;
        QString title;
        QAbstractButton* defaultButton = nullptr;
        QAbstractButton* noButton = nullptr;
        whenBoxShows([&](QMessageBox* box) {
            buttons = box->standardButtons();
            icon = box->icon();
            iconShown = box->iconPixmap();
            title = box->windowTitle();
            defaultButton = box->defaultButton();
            noButton = box->button(QMessageBox::No);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        const int answer = MsgBox(QStringLiteral("Do you wish to save before exiting?"), 275,
                                  QStringLiteral("Changes not saved!"));
        QCOMPARE(answer, MsgBoxAnswer::Cancel);
        QCOMPARE(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(icon, QMessageBox::Critical);
        QVERIFY(!iconShown.isNull()); // the system's stop sign, drawn by the style
        QCOMPARE(title, QStringLiteral("Changes not saved!"));
        QVERIFY(defaultButton != nullptr);
        QCOMPARE(defaultButton, noButton);
    }

    void style0ShowsOkAloneWithoutIconUnderTheApplicationTitle() {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::Critical;
        whenBoxShows([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(MsgBox(QStringLiteral("Line one\rLine two")), MsgBoxAnswer::Ok);
        QCOMPARE(title, QStringLiteral("Brackens' Quillon Tools"));
        QCOMPARE(text, QStringLiteral("Line one\nLine two")); // the carriage return ends a line
        QCOMPARE(icon, QMessageBox::NoIcon);
    }

    void recordingAnswersFromTheQueueThenWithTheDefaultButton() {
        MsgBoxTesting::startRecording();
        MsgBoxTesting::queueAnswer(MsgBoxAnswer::Yes);
        QCOMPARE(MsgBox(QStringLiteral("first"), 275), MsgBoxAnswer::Yes);
        QCOMPARE(MsgBox(QStringLiteral("second"), 275), MsgBoxAnswer::No);
        QCOMPARE(MsgBox(QStringLiteral("third"), 3), MsgBoxAnswer::Yes);
        const auto calls = MsgBoxTesting::takeCalls();
        QCOMPARE(calls.size(), 3);
        QCOMPARE(calls[0].title, QStringLiteral("Brackens' Quillon Tools"));
        QCOMPARE(calls[1].text, QStringLiteral("second"));
        MsgBoxTesting::stopRecording();
    }
};

QTEST_MAIN(MsgBoxTest)
#include "MsgBoxTest.moc"
