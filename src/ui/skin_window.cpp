// The main window skin: construction, the panes' wiring, commands, showing other windows,
// size changes and closing.
#include "ui/skin_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

#include "forms/folder/drive_list.h"
#include "forms/main/control_catalog.h"
#include "forms/model/control_ids.h"
#include "settings/picker_state.h"
#include "ui/about_box.h"
#include "ui/control_binder.h"
#include "ui/form_guard.h"
#include "ui/form_window.h"
#include "ui/help_window.h"
#include "ui/pane_script.h"
#include "ui/pane_view.h"
#include "ui/qt_text.h"
#include "ui/qt_work_runner.h"
#include "ui/scratch_pad.h"
#include "ui/source_context_menu.h"
#include "ui/window_habits.h"

namespace lodestar::ui {

namespace {
constexpr int kMinimumWidth = 760;
constexpr int kMinimumHeight = 520;
}  // namespace

SkinWindow::SkinWindow(const std::u16string& programFolder, const std::u16string& stateFolder)
    : timer_(std::make_unique<QtOneShotTimer>([this] {
          if (form_ && !form_->closed()) guarded(*form_, [this] { form_->onTimer1Tick(); });
      })),
      programFolder_(programFolder) {
    ensureUiResources();
    setObjectName(QStringLiteral("LodestarWindow"));
    prompts_.setParent(this);
    jobs_ = std::make_unique<QtWorkRunner>();
    runner_ = std::make_unique<QtWorkRunner>();
    const std::u16string stateFile = windowStatePath(stateFolder);
    workspace_ = std::make_unique<Workspace>(
        programFolder,
        WorkspaceServices{prompts_, clipboard_, *timer_, shell_, jobs_.get(), runner_.get()},
        pickerStartFolder(stateFile), machineDrives());
    form_ = &workspace_->window();
    workspace_->showAbout = [this] { showAbout(); };
    workspace_->showUsedRegexps = [this] { showUsedRegexps(); };
    form_->help().setViewer(new QtHelpViewer(this, [this](const std::u16string& address) {
        guarded(*form_, [&] { form_->help().openWebPage(address); });
    }));
    form_->setStateFile(stateFile);
    form_->setFontFamilies(&fonts_);
    workspace_->folder().picker().setHost(this);
    workspace_->folder().picker().setStateFile(pickerStatePath(stateFolder));
    for (Form* secondary : {static_cast<Form*>(&exportForm()), static_cast<Form*>(&optionSetting()),
                            static_cast<Form*>(&assistant())})
        secondary->setHost(this);

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    QFont f = font();
    f.setPixelSize(std::max(11, toPixels(165)));
    client_->setFont(f);
    setCentralWidget(client_);
    client_->installEventFilter(this);

    captionedStripWidth_ = layoutToolStrip(false);
    buildControls();
    buildMenus();
    buildPanes();
    form_->controls().onChange([this](const Control& c) { applyControl(c); });
    guarded(*form_, [this] { form_->load(); });
    for (const std::string& name : form_->controls().names()) applyControl(form_->controls()[name]);

    // Below this size some control would no longer be usable; a comfortable first size. A
    // screen too small for either (a large scale factor) bounds both (WindowHabits).
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(1100, 720);
    habits_ = new WindowHabits(*this);
}

bool SkinWindow::endWork(int ms) {
    folderMode().stop();
    if (!form_->closed()) form_->terminate();
    QElapsedTimer clock;
    clock.start();
    const bool runEnded = runner_->settle(ms);
    return jobs_->settle(std::max<int>(0, ms - static_cast<int>(clock.elapsed()))) && runEnded;
}

SkinWindow::~SkinWindow() {
    delete habits_;  // it talks to the form
    habits_ = nullptr;
    // A run still going ends after its current file, an open or search at its next step;
    // their reports are dropped with the runners.
    folderMode().stop();
    runner_.reset();
    if (!form_->closed()) form_->terminate();
    form_->setWorkRunner(nullptr);
    jobs_.reset();
    showBusy(false);
    // The panes report into the form; they go first.
    for (Pane which : {Pane::ListView, Pane::SuperMonitor, Pane::MatchView}) {
        PaneView*& view = panes_[static_cast<int>(which)];
        if (!view) continue;
        view->onLoaded = nullptr;
        view->onBeforeNavigate = nullptr;
        view->onCopied = nullptr;
        view->onFocusLost = nullptr;
        view->onPiecesWanted = nullptr;
        view->onRendererGone = nullptr;
        form_->pane(which).attach(nullptr);
        delete view;
        view = nullptr;
    }
    timer_->stop();
    for (auto& [form, window] : formWindows_) {
        const_cast<Form*>(form)->setHost(nullptr);
        delete window;
    }
    formWindows_.clear();
    // The widgets go with the window after this; what they signal on their way out no longer
    // reaches the form.
    delete binder_;
    binder_ = nullptr;
    form_ = nullptr;
    workspace_.reset();
}

void SkinWindow::buildPanes() {
    for (Pane which : {Pane::ListView, Pane::SuperMonitor, Pane::MatchView}) {
        PaneView* view = paneView(which);
        if (!view) continue;
        form_->pane(which).attach(view);
        view->onLoaded = [this, which](const std::u16string& address, bool) {
            guarded(*form_, [&] { form_->onNavigateComplete(which, address); });
        };
        view->onBeforeNavigate = [this, which](const std::u16string& address) {
            return guarded(*form_, false, [&] { return form_->onBeforeNavigate(which, address); });
        };
        view->onExternalLink = [this](const std::u16string& address) {
            guarded(*form_, [&] { form_->help().openWebPage(address); });
        };
        view->onPiecesWanted = [this, which](const std::u16string& withinId, long long generation,
                                             const std::vector<std::size_t>& pieces) {
            form_->onPiecesWanted(which, withinId, generation, pieces);
        };
        view->onRendererGone = [this, which](bool stoppedAnswering) {
            if (!form_->closed()) form_->onRendererGone(which, stoppedAnswering);
        };
        if (which == Pane::ListView)
            view->onTicked = [this](int index, bool checked) {
                guarded(*form_, [&] { form_->onFileTicked(index + 1, checked); });
            };
        if (which == Pane::SuperMonitor) {
            view->onCopied = [this](const std::u16string& text) {
                guarded(*form_, [&] { form_->file().onSourceCopied(text); });
            };
            attachSourceContextMenu(
                view,
                [this](const std::u16string& selection) {
                    guarded(*form_, [&] { form_->useSelectionAsPattern(selection); });
                },
                view->onCopied);
            scratch_ = new ScratchPad(*form_, view,
                                      qobject_cast<QPlainTextEdit*>(control(main_ids::inRepFrom)));
        }
    }
}

PaneView* SkinWindow::paneView(Pane which) const {
    return panes_[static_cast<int>(which)];
}

int SkinWindow::toPixels(double twips) const {
    return static_cast<int>(std::lround(twips * logicalDpiX() / 1440.0));
}

double SkinWindow::toTwips(int pixels) const {
    return pixels * 1440.0 / logicalDpiX();
}

// ---- Commands -------------------------------------------------------------------------------

void SkinWindow::command(const std::string& name) {
    if (!binder_ || binder_->syncing() || form_->closed()) return;
    guarded(*form_, [&] { form_->click(name); });
    // A widget that changed itself on the click shows its control's state again.
    if (form_->controls().has(name)) applyControl(form_->controls()[name]);
    afterCommand();
}

void SkinWindow::afterCommand() {
    if (form_->closed()) QTimer::singleShot(0, this, &QWidget::close);
}

void SkinWindow::showAbout() {
    if (!about_) about_ = new AboutBox(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

// Under its button, from the keyboard as from the mouse.
void SkinWindow::showUsedRegexps() {
    QWidget* button = control(main_ids::btnRegHis);
    fillUsedRegexpMenu();
    usedRegexps_->popup(button && button->isVisible()
                            ? button->mapToGlobal(QPoint(0, button->height()))
                            : mapToGlobal(QPoint(width() / 3, height() / 3)));
}

FormWindow* SkinWindow::formWindow(const Form& form) const {
    auto it = formWindows_.find(&form);
    return it == formWindows_.end() ? nullptr : it->second;
}

void SkinWindow::showForm(Form& form) {
    FormWindow*& window = formWindows_[&form];
    if (!window)
        window = new FormWindow(
            form, this, [this](double twips) { return toPixels(twips); },
            [this](const std::function<void()>& call) { guarded(*form_, call); });
    window->show();
    window->raise();
    window->activateWindow();
    window->followFocus();
}

void SkinWindow::hideForm(Form& form) {
    if (FormWindow* window = formWindow(form)) window->hide();
}

// The busy cursor shows while a run over a folder goes on.
void SkinWindow::showBusy(bool on) {
    if (on == busy_) return;
    busy_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

// ---- Window events --------------------------------------------------------------------------

void SkinWindow::sendSize() {
    if (!form_ || form_->closed()) return;
    const QRect outer = frameGeometry();
    const WindowSize size{toTwips(client_->width()), toTwips(client_->height()),
                          toTwips(outer.width()), toTwips(outer.height())};
    fitToolStrip(size.outerWidth);
    guarded(*form_, [&] { form_->resize(size); });
}

void SkinWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    sendSize();
}

void SkinWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        sendSize();
    }
}

void SkinWindow::keyPressEvent(QKeyEvent* event) {
    // Esc that no widget took stops the open or search in progress.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        form_->working()) {
        form_->cancelWork();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void SkinWindow::closeEvent(QCloseEvent* event) {
    if (!form_->closed()) {
        // A failing quit check keeps the window open rather than losing unsaved text.
        if (!guarded(*form_, false, [this] { return form_->queryUnload(); })) {
            event->ignore();
            return;
        }
        guarded(*form_, [this] { form_->terminate(); });
    }
    if (habits_) habits_->windowClosing();
    if (about_) about_->hide();
    if (auto* help = findChild<HelpWindow*>()) help->hide();  // it goes with the window
    event->accept();
}

}  // namespace lodestar::ui
