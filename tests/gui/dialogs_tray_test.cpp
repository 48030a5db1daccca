// Message boxes answer with the original codes; the tray reports clicks as
// the original messages.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

#include "gui/qt_dialogs.h"
#include "gui/qt_tray.h"
#include "gui_app.h"
#include "support/temp_dir.h"
#include "toolkit/dialogs.h"

namespace tarvolin {
namespace {

using testing::guiApp;

// Runs `act` on the first modal dialog that opens (from inside its loop).
void onModal(std::function<void(QWidget*)> act) {
    auto* t = new QTimer;
    t->setInterval(20);
    QObject::connect(t, &QTimer::timeout, [t, act] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            t->stop();
            t->deleteLater();
            act(w);
        }
    });
    t->start();
}

QString title(QWidget* w) { return w->windowTitle(); }

TEST(QtDialogsBox, ButtonsDefaultsAnswersAndTitle) {
    guiApp();
    QtDialogs d;

    // Enter takes the default button: the second of Yes/No/Cancel.
    QString seenTitle, seenText;
    int buttons = 0;
    onModal([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_TRUE(box);
        seenTitle = title(w);
        seenText = box->text();
        buttons = static_cast<int>(box->buttons().size());
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        box->defaultButton()->click();
    });
    EXPECT_EQ(d.MsgBox("Σώσιμο; - Save?", mb::YesNoCancel + mb::Question + mb::DefaultButton2), mb::No);
    EXPECT_EQ(seenTitle, "tarvolin");
    EXPECT_EQ(seenText, QString::fromUtf8("Σώσιμο; - Save?"));
    EXPECT_EQ(buttons, 3);

    // Escape gives Cancel where the box has one.
    onModal([](QWidget* w) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(w, &esc);
    });
    EXPECT_EQ(d.MsgBox("?", mb::OKCancel, "Τίτλος"), mb::Cancel);

    // Each button maps back to its own code.
    onModal([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->button(QMessageBox::Ignore)->click();
    });
    EXPECT_EQ(d.MsgBox("disk", mb::AbortRetryIgnore + mb::Exclamation), mb::Ignore);
    onModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Retry)->click(); });
    EXPECT_EQ(d.MsgBox("disk", mb::RetryCancel + mb::Critical), mb::Retry);
    onModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->defaultButton()->click(); });
    EXPECT_EQ(d.MsgBox("info", mb::OKOnly + mb::Information), mb::OK);
}

TEST(QtDialogsBox, InputBoxTextAndCancel) {
    guiApp();
    QtDialogs d;
    onModal([](QWidget* w) {
        auto* in = qobject_cast<QInputDialog*>(w);
        ASSERT_TRUE(in);
        EXPECT_EQ(in->textValue(), "5");
        in->setTextValue("7");
        in->accept();
    });
    EXPECT_EQ(d.InputBox("Δευτερόλεπτα - Seconds", "", "5"), "7");
    onModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(d.InputBox("Δευτερόλεπτα - Seconds", "", "5"), "");
}

TEST(QtDialogsBox, OpenAndSaveHonourTheRequest) {
    guiApp();
    QtDialogs d;
    TempDir dir;
    FileDialogRequest open;
    open.Filter = "Tarvolin (*.tlf) | *.tlf";
    open.InitDir = dir.path();
    open.DialogTitle = "Άνοιγμα Νέας Συλλογής - Open New Collection";
    open.Flags = 4096;
    onModal([&](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(fd);
        EXPECT_EQ(fd->windowTitle().toStdString(), open.DialogTitle);
        EXPECT_EQ(fd->nameFilters(), QStringList{"Tarvolin (*.tlf)"});
        EXPECT_EQ(fd->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(fd->directory().absolutePath() + "/", QString::fromStdString(dir.path()));
        fd->reject();
    });
    EXPECT_FALSE(d.ShowOpen(open));

    FileDialogRequest save;
    save.Filter = "Tarvolin (*.tlf) | *.tlf";
    save.InitDir = dir.path();
    save.FileName = "rock.tlf";
    save.Flags = 2050;
    onModal([&](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        ASSERT_TRUE(fd);
        EXPECT_EQ(fd->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(fd->testOption(QFileDialog::DontConfirmOverwrite));
        static_cast<QDialog*>(fd)->accept();  // QFileDialog::accept, as the Save button does
    });
    ASSERT_TRUE(d.ShowSave(save));
    EXPECT_EQ(save.FileName, dir.path() + "rock.tlf");
}

TEST(QtDialogsBox, MousePointerNests) {
    guiApp();
    {
        QtDialogs d;
        d.setMousePointer(11);
        d.setMousePointer(11);
        ASSERT_TRUE(QApplication::overrideCursor());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        d.setMousePointer(0);
        EXPECT_FALSE(QApplication::overrideCursor());
        d.setMousePointer(11);
    }
    // A dialogs object that goes leaves no hourglass behind.
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST(QtTrayIcon, ClicksBecomeMessagesOnlyWhileShown) {
    guiApp();
    QtTray tray([] { return true; });
    std::vector<int> messages;
    tray.message = [&](int m) { messages.push_back(m); };
    tray.activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(messages.empty());

    tray.add(102, "Tarvolin");
    EXPECT_TRUE(tray.shown());
    EXPECT_EQ(tray.icon()->toolTip(), "Tarvolin");
    EXPECT_FALSE(tray.icon()->icon().isNull());
    tray.activated(QSystemTrayIcon::Trigger);
    tray.activated(QSystemTrayIcon::Context);
    tray.activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(messages, (std::vector<int>{513, 516}));

    tray.modify(100, "Παίζει - Playing");
    EXPECT_EQ(tray.icon()->toolTip(), QString::fromUtf8("Παίζει - Playing"));
    tray.remove();
    EXPECT_FALSE(tray.shown());
    tray.activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(messages.size(), 2u);
}

// A desktop without a tray (the virtual display has none): no icon is
// shown, the tray says so, and Qt prints no warning about it.
TEST(QtTrayIcon, WithoutATrayNothingIsShownAndNothingWarns) {
    guiApp();
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg && type != QtInfoMsg) warnings << text;
        });
    {
        QtTray tray;
        EXPECT_FALSE(tray.available());
        tray.add(102, "Tarvolin");
        tray.modify(100, "Παίζει - Playing");
        EXPECT_FALSE(tray.shown());
        tray.remove();
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join("\n").toStdString();
}

}  // namespace
}  // namespace tarvolin
