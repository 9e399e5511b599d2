// The desktop main window: Qt widgets built and bound by kind to the headless MainWindow's
// controls, the three web panes bound to its pane models, the menu bar built from its menu entries,
// and the real prompts, clipboard, timer and shell it talks through. Every user action goes to the
// form; every change of the form's controls comes back through its change listener.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "files/user_folders.h"
#include "forms/model/form.h"
#include "forms/workspace/workspace.h"
#include "ui/about_box.h"
#include "ui/qt_font_families.h"
#include "ui/qt_services.h"
#include "ui/scratch_pad.h"

class QAction;
class QMenu;
class QToolButton;

namespace lodestar::ui {

class AboutBox;
class ControlBinder;
class PaneView;

class FormWindow;
class QtWorkRunner;
class WindowHabits;

class SkinWindow : public QMainWindow, public FormHost {
    Q_OBJECT
  public:
    // The program folder holds lib/, help/, rep/ and the options file; what the window
    // remembers between runs is kept in the state folder.
    explicit SkinWindow(const std::u16string& programFolder,
                        const std::u16string& stateFolder = userStateFolder());
    ~SkinWindow() override;
    // After the window has closed: every run and search is told to stop; true when all have
    // ended within `ms`.
    bool endWork(int ms);

    MainWindow& form() { return *form_; }
    PaneView* paneView(Pane which) const;
    // The widget bound to a control, or nullptr.
    QWidget* control(std::string_view name) const;
    // The menu action of a menu entry, or nullptr.
    QAction* action(std::string_view name) const;
    // The "Used Regexps" pop-up, built from the form's entries each time it opens.
    QMenu* usedRegexpMenu() const { return usedRegexps_; }
    AboutBox* aboutBox() const { return about_; }
    // The scratch pad of Instant Test, laid over the source view.
    ScratchPad* scratchPad() const { return scratch_; }
    FolderScope& folderMode() { return workspace_->folder(); }
    ExportForm& exportForm() { return workspace_->exportForm(); }
    OptionSetting& optionSetting() { return workspace_->optionSetting(); }
    RegAssist& assistant() { return workspace_->assistant(); }
    // The window of a secondary form, once it has been shown; nullptr before.
    FormWindow* formWindow(const Form& form) const;

    // FormHost: each form's window is created on first use and afterwards only hidden.
    void showForm(Form& form) override;
    void hideForm(Form& form) override;

    // Pixels for a length in twips at the screen's dpi, and back.
    int toPixels(double twips) const;
    double toTwips(int pixels) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Building (control_widgets.cpp, menu_binder.cpp).
    void buildControls();
    QWidget* specialControl(const Control& c, QWidget* parent);
    void dressControl(const Control& c, QWidget* w);
    // Lays out the tool strip's command group, its captioned buttons as pictures when
    // `compact`; returns the group's width in twips.
    double layoutToolStrip(bool compact);
    // Chooses the compact strip when the window is too narrow for the captions beside a path
    // box of usable width.
    void fitToolStrip(double outerWidth);
    void dressCaptioned(QToolButton* button, const Control& c);
    void buildMenus();
    void buildPanes();
    void applyControl(const Control& c);
    void paintStatus(QWidget* status);
    void applyMenu(const Control& c);
    void fillUsedRegexpMenu();
    void fillMenu(QMenu* menu, std::string_view container);

    // Actions.
    void command(const std::string& name);
    void afterCommand();
    void showAbout();
    void showUsedRegexps();
    void showBusy(bool on);
    void sendSize();

    QtPrompts prompts_;
    QtClipboard clipboard_;
    std::unique_ptr<QtOneShotTimer> timer_;
    QtShell shell_;
    QtFontFamilies fonts_;
    std::u16string programFolder_;
    std::unique_ptr<Workspace> workspace_;
    MainWindow* form_ = nullptr;  // the workspace's window
    // The single file's open and search, and the folder runs: each runner takes its runs one
    // at a time, and the two may work side by side.
    std::unique_ptr<QtWorkRunner> jobs_;
    std::unique_ptr<QtWorkRunner> runner_;
    QElapsedTimer statusPainted_;
    std::map<const Form*, FormWindow*> formWindows_;
    bool busy_ = false;

    QWidget* client_ = nullptr;
    ControlBinder* binder_ = nullptr;
    std::map<std::string, QAction*, std::less<>> actions_;
    std::map<std::string, QMenu*, std::less<>> menus_;
    QMenu* usedRegexps_ = nullptr;
    PaneView* panes_[3] = {nullptr, nullptr, nullptr};
    QPointer<AboutBox> about_;
    QPointer<ScratchPad> scratch_;
    WindowHabits* habits_ = nullptr;
    bool shown_ = false;
    bool compactStrip_ = false;
    double captionedStripWidth_ = 0;  // twips
};

}  // namespace lodestar::ui
