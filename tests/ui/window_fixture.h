// What every window test shares: a desktop window on a program folder of its own, shown on the
// test display, and helpers that wait for the web panes, answer message boxes and file dialogs
// as a user would, drive the dialogs' widgets and read the widgets and the pages' DOM.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/text.h"
#include "forms/folder/file_table.h"
#include "support/temp_dir.h"
#include "ui/form_window.h"
#include "ui/pane_view.h"
#include "ui/qt_text.h"
#include "ui/skin_window.h"

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace lodestar::testing {

// Processes events until `done` holds or the time is up; answers whether it held.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 15000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

// Accepts a file dialog with this path. The dialog's model reads its folder in the background,
// and until it has, selectFile alone may leave the name box empty and accept() then does
// nothing: the name is typed into the box and the dialog closed as accepted.
inline void acceptFileDialog(QFileDialog* dialog, const QString& path) {
    dialog->selectFile(path);
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
}

// What a dialog showed, recorded by the answering helper.
struct Seen {
    QString caption;
    QString text;
    bool shown = false;
};

class SkinTest : public ::testing::Test {
  protected:
    // Copies the project's data folders into the program folder.
    void makeProgramFolder() {
        for (const char* folder : {"lib", "help", "rep"})
            std::filesystem::copy(std::filesystem::path(LODESTAR_SOURCE_DIR) / folder,
                                  program.path() / folder,
                                  std::filesystem::copy_options::recursive);
    }

    // A new window; what it remembers lives in the test's own folder from one start to the next.
    void start(std::optional<QSize> size = QSize(1280, 800)) {
        // The user's options and the history of saves live in the test's own folders.
        setenv("XDG_CONFIG_HOME", (program.path() / "config-home").c_str(), 1);
        setenv("XDG_STATE_HOME", (program.path() / "state-home").c_str(), 1);
        window = std::make_unique<ui::SkinWindow>(program.folder(), program.folder() + u"state/");
        if (size) window->resize(*size);
        window->show();
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        settle();
    }

    void TearDown() override {
        if (window) {
            // Nothing may ask anything any more.
            window->form().setSaveEnabled(false);
            window->close();
            window.reset();
        }
        QApplication::processEvents();
    }

    // The file being opened or searched is shown and every pane the form waits for has loaded.
    void settle() {
        ASSERT_TRUE(waitUntil([&] {
            if (window->form().working()) return false;
            for (Pane p : {Pane::ListView, Pane::SuperMonitor, Pane::MatchView})
                if (window->form().pane(p).busy()) return false;
            return true;
        })) << "a pane did not finish loading";
    }
    void waitForRun() {
        ASSERT_TRUE(waitUntil([&] { return !form().running(); }, 60000));
        settle();
    }

    // ---- Answering modal dialogs --------------------------------------------------------------

    // Arms an answer for the next modal dialog: `act` runs on it once it shows.
    void onNextDialog(std::function<void(QWidget*)> act) {
        auto* poll = new QTimer(window.get());
        poll->setInterval(20);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            poll->stop();
            poll->deleteLater();
            act(modal);
        });
        poll->start();
    }
    // Answers the next message box with the button of this role, noting what it said.
    void answerMessage(QMessageBox::StandardButton button, Seen* seen = nullptr) {
        answerMessageWith([button](QMessageBox* box) { box->button(button)->click(); }, seen);
    }
    // Answers the next message box by this key (Return: its default button, Escape: cancel).
    void answerMessageByKey(Qt::Key key, Seen* seen = nullptr) {
        answerMessageWith([key](QMessageBox* box) { QTest::keyClick(box, key); }, seen);
    }
    void answerMessageWith(std::function<void(QMessageBox*)> answer, Seen* seen) {
        onNextDialog([answer, seen](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) return;
            if (seen) *seen = {box->windowTitle(), box->text(), true};
            answer(box);
        });
    }
    // Accepts the next file dialog with this path, noting its caption.
    void answerFileDialog(const std::u16string& path, QString* caption = nullptr) {
        onNextDialog([path, caption](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog) return;
            if (caption) *caption = dialog->windowTitle();
            acceptFileDialog(dialog, ui::toQ(path));
        });
    }

    // ---- What a user does -----------------------------------------------------------------------

    void openThroughDialog(const std::u16string& path) {
        answerFileDialog(path);
        click("selFile");
        settle();
    }
    // Opens a file over 256 KB, answering the question about large files.
    void openLarge(const std::u16string& path) {
        answerMessage(QMessageBox::Ok);
        form().OpenFile(path);
        settle();
    }
    // Picks the documents folder in the picker ("Include subfolders" and "Exclude" when asked)
    // and presses OK; waits until the folder's files are listed.
    void openThroughPicker(bool subfolders = false, const QString& exclude = {}) {
        click("btnOpenFolder");
        ui::FormWindow* picker = shown(folder().picker());
        ASSERT_NE(picker, nullptr);
        EXPECT_EQ(picker->windowTitle(), QStringLiteral("Select Folder"));
        folder().picker().typeText("Dir1", docs.folder());
        if (subfolders) {
            press(picker, "chkSubfolders");
            ASSERT_TRUE(folder().picker().controls()["chkSubfolders"].checked);
            auto* box = qobject_cast<QLineEdit*>(picker->control("exclude"));
            ASSERT_NE(box, nullptr);
            QTest::keyClicks(box, exclude);
        }
        press(picker, "btnOK");
        EXPECT_FALSE(picker->isVisible());
        ASSERT_TRUE(
            waitUntil([&] { return form().MultiMode() && folder().fileList().size() > 1; }));
        settle();
    }
    // Types the path into the path box and presses Enter.
    void typePath(const std::u16string& path) {
        auto* box = widget<QLineEdit>("inputPath");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, ui::toQ(path));
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    }
    void typePattern(const std::u16string& from, const std::u16string& with = u"") {
        widget<QPlainTextEdit>("inRepFrom")->setPlainText(ui::toQ(from));
        widget<QPlainTextEdit>("inRepWith")->setPlainText(ui::toQ(with));
    }
    // Types the pattern, presses F3 and waits for the move to the first match.
    void findByKey(const std::u16string& pattern) {
        typePattern(pattern);
        key(Qt::Key_F3);
        settle();
        ASSERT_TRUE(waitUntil([&] { return counter().startsWith(QStringLiteral("1/")); }))
            << counter().toStdString() << "\n"
            << logText();
    }
    // Replace All with these texts, confirmed.
    void replaceAll(const std::u16string& from, const std::u16string& with) {
        typePattern(from, with);
        // A file picked just before may still be read; the window takes no command until it is.
        settle();
        answerMessage(QMessageBox::Ok);
        click("btnReplace");
    }
    // Ctrl+S, and the save button goes grey.
    void saveByKey() {
        ASSERT_TRUE(waitUntil([&] { return form().controls()["btnSave"].enabled; }));
        key(Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(waitUntil([&] { return !form().controls()["btnSave"].enabled; }));
    }
    // F8, confirmed; answers what the question said.
    Seen restoreByKey() {
        Seen asked;
        answerMessage(QMessageBox::Ok, &asked);
        key(Qt::Key_F8);
        EXPECT_TRUE(waitUntil([&] { return asked.shown; }));
        return asked;
    }
    void click(const std::string& name) {
        QWidget* w = window->control(name);
        ASSERT_NE(w, nullptr) << name;
        QTest::mouseClick(w, Qt::LeftButton);
    }
    void key(int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QApplication::setActiveWindow(window.get());
        QTest::keyClick(window.get(), static_cast<Qt::Key>(k), mods);
    }

    // ---- The dialogs ----------------------------------------------------------------------------

    // The window of a secondary form, once it shows; owned by the main window.
    ui::FormWindow* shown(Form& secondary) {
        ui::FormWindow* w = nullptr;
        EXPECT_TRUE(waitUntil([&] {
            w = window->formWindow(secondary);
            return w && w->isVisible();
        })) << secondary.name();
        EXPECT_TRUE(!w || w->parentWidget() == window.get()) << "owned by the main window";
        return w;
    }
    // Picks an entry of a drop-down list as the user does.
    static void pick(ui::FormWindow* w, const std::string& name, int index) {
        auto* combo = qobject_cast<QComboBox*>(w->control(name));
        ASSERT_NE(combo, nullptr) << name;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    static void press(ui::FormWindow* w, const std::string& name) {
        ASSERT_NE(w->control(name), nullptr) << name;
        QTest::mouseClick(w->control(name), Qt::LeftButton);
    }

    // ---- Reading the widgets and the pages ------------------------------------------------------

    template <typename T = QWidget>
    T* widget(const std::string& name) {
        return qobject_cast<T*>(window->control(name));
    }
    MainWindow& form() { return window->form(); }
    FolderScope& folder() { return window->folderMode(); }
    ui::PaneView* view(Pane p) { return window->paneView(p); }
    QVariant dom(Pane p, const QString& script) { return view(p)->evaluate(script); }
    QString sourceText() { return dom(Pane::SuperMonitor, "document.body.innerText").toString(); }
    std::string logText() { return toUtf8(window->form().controls()["logger"].text); }
    QString counter() { return widget<QLineEdit>("matchNo")->text(); }
    // The marks in the source page and the entries of the match list's page.
    int marksInPage() {
        return dom(Pane::SuperMonitor, "document.getElementsByTagName('em').length").toInt();
    }
    int entriesInPage() {
        return dom(Pane::MatchView,
                   "document.getElementById('mlist').getElementsByTagName('li').length")
            .toInt();
    }
    // The background of match k (from 1) in the source page, and where it stands in the
    // viewport while it is the current one (99999 when it is not). A page shown a piece at a
    // time numbers its marks; a small one holds them all in order.
    inline static const QString kMark = QStringLiteral(
        "(function(){var e=document.querySelector('em[data-k]') ? "
        "document.querySelector('em[data-k=\"%1\"]') : document.getElementsByTagName('em')[%1];");
    QString markBackground(long long k) {
        return dom(Pane::SuperMonitor, kMark.arg(k - 1) +
                                           "return e ? e.style.backgroundColor "
                                           ": '';})()")
            .toString();
    }
    int markTop(long long k) {
        return dom(Pane::SuperMonitor, kMark.arg(k - 1) +
                                           "return e && e.style.backgroundColor == 'gold' ? "
                                           "Math.round(e.getBoundingClientRect().top) : 99999;})()")
            .toInt();
    }
    // A cell of the file table's model.
    std::string cell(std::size_t row, std::size_t column) {
        return toUtf8(form().pane(Pane::ListView).cellText(kFileTableId, row * 7 + column));
    }
    // Saves the screen, or the window given, to this file of the folder; for the documentation.
    static void capture(const QString& folder, const char* name, QWidget* only = nullptr) {
        QTest::qWait(1200);  // let the panes paint
        const QPixmap shot =
            only ? only->grab() : QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 1280, 800);
        const QString path = folder + QStringLiteral("/") + QString::fromLatin1(name);
        ASSERT_TRUE(shot.save(path)) << path.toStdString();
    }

    TempDir program;
    TempDir docs;
    std::unique_ptr<ui::SkinWindow> window;
};

// A window on a complete program folder, started before each test.
class StartedSkinTest : public SkinTest {
  protected:
    void SetUp() override {
        makeProgramFolder();
        start();
    }
};

}  // namespace lodestar::testing
