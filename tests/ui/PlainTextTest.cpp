#include "Form1TestSupport.h"
#include "Form3.h"
#include "frmAbout.h"
#include "frmSplash.h"

#include <QLabel>

#include <memory>

// Every label of every window shows its text as written. The text "<br>" tells: as markup it
// is a line break and draws nothing, as plain text it draws four characters.
class PlainTextTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installJapaneseUi(); }
    void everyLabelDrawsMarkupAsCharacters_data();
    void everyLabelDrawsMarkupAsCharacters();
};

void PlainTextTest::everyLabelDrawsMarkupAsCharacters_data()
{
    QTest::addColumn<QString>("window");
    for (const char *window : {"Form1", "Form3", "frmSplash", "frmAbout"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void PlainTextTest::everyLabelDrawsMarkupAsCharacters()
{
    QFETCH(QString, window);
    Module1 state;
    EmptySpat4Folder folder;
    std::unique_ptr<QWidget> widget;
    if (window == QLatin1String("Form1"))
        widget = std::make_unique<Form1>(state, folder);
    else if (window == QLatin1String("Form3"))
        widget = std::make_unique<Form3>(state);
    else if (window == QLatin1String("frmSplash"))
        widget = std::make_unique<frmSplash>();
    else
        widget = std::make_unique<frmAbout>();

    const QList<QLabel *> labels = widget->findChildren<QLabel *>();
    QVERIFY(!labels.isEmpty());
    QStringList blank;
    for (QLabel *label : labels) {
        // The same label, empty and then with the text: the pixels must change.
        label->resize(std::max(label->width(), 60), std::max(label->height(), 20));
        label->setText(QString());
        const QImage empty = label->grab().toImage();
        label->setText(QStringLiteral("<br>"));
        if (label->grab().toImage() == empty)
            blank << (label->objectName().isEmpty() ? QStringLiteral("(a status panel)")
                                                    : label->objectName());
    }
    QVERIFY2(blank.isEmpty(), qPrintable(blank.join(u' ')));
}

QTEST_MAIN(PlainTextTest)
#include "PlainTextTest.moc"
