// Real message boxes, file dialogs, clipboard, timer and shell.
#include "ui/qt_services.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

#include "ui/file_filter.h"
#include "ui/qt_text.h"

namespace lodestar::ui {

namespace {

// A message box sizes itself to its text; one with a short text and a longer caption is
// widened until the caption fits beside the title bar's buttons.
void fitCaption(QMessageBox& box) {
    constexpr int kTitleBarButtons = 140;
    const int wanted = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

void QtPrompts::message(const std::u16string& text, const std::u16string& caption) {
    QMessageBox box(QMessageBox::NoIcon, toQ(caption), toQ(text), QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("messageBox"));
    fitCaption(box);
    box.exec();
}

bool QtPrompts::okCancel(const std::u16string& text, const std::u16string& caption) {
    QMessageBox box(QMessageBox::Question, toQ(caption), toQ(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent_);
    box.setObjectName(QStringLiteral("okCancelBox"));
    fitCaption(box);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

SaveChoice QtPrompts::saveDiscardCancel(const std::u16string& text, const std::u16string& caption) {
    QMessageBox box(QMessageBox::Question, toQ(caption), toQ(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    box.setObjectName(QStringLiteral("saveDiscardCancelBox"));
    fitCaption(box);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Save:
            return SaveChoice::Save;
        case QMessageBox::Discard:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
}

std::size_t QtPrompts::choose(const std::u16string& text, const std::u16string& caption,
                              const std::vector<std::u16string>& buttons) {
    QMessageBox box(QMessageBox::Question, toQ(caption), toQ(text), QMessageBox::NoButton, parent_);
    box.setObjectName(QStringLiteral("chooseBox"));
    fitCaption(box);
    std::vector<QPushButton*> made;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const bool last = i + 1 == buttons.size();
        made.push_back(box.addButton(toQ(buttons[i]),
                                     last ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    }
    if (made.empty()) return 0;
    box.setDefaultButton(made.front());
    box.setEscapeButton(made.back());
    box.exec();
    const auto chosen = std::find(made.begin(), made.end(), box.clickedButton());
    return chosen == made.end() ? made.size() - 1 : static_cast<std::size_t>(chosen - made.begin());
}

namespace {

// The program's own file dialog, the same on every desktop and drivable in tests. "Save As"
// asks nothing about overwriting: the export dialog asks itself.
std::u16string runFileDialog(QWidget* parent, bool save, const std::u16string& filter,
                             const std::u16string& initialFolder) {
    QFileDialog dialog(parent, save ? QStringLiteral("Save As") : QStringLiteral("Open File"));
    dialog.setObjectName(save ? QStringLiteral("saveAsDialog") : QStringLiteral("openDialog"));
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(nameFilters(toQ(filter)));
    const QString folder = toQ(initialFolder);
    dialog.setDirectory(!folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return fromQ(dialog.selectedFiles().front());
}

}  // namespace

std::u16string QtPrompts::openFile(const std::u16string& filter,
                                   const std::u16string& initialFolder) {
    return runFileDialog(parent_, false, filter, initialFolder);
}

std::u16string QtPrompts::saveAs(const std::u16string& filter,
                                 const std::u16string& initialFolder) {
    return runFileDialog(parent_, true, filter, initialFolder);
}

bool QtClipboard::hasText() const {
    return !QGuiApplication::clipboard()->text().isEmpty();
}

std::u16string QtClipboard::text() const {
    return fromQ(QGuiApplication::clipboard()->text());
}

void QtClipboard::setText(const std::u16string& text) {
    QGuiApplication::clipboard()->setText(toQ(text));
}

QtOneShotTimer::QtOneShotTimer(std::function<void()> onTick) {
    QObject::connect(&timer_, &QTimer::timeout, [tick = std::move(onTick)] { tick(); });
}

void QtOneShotTimer::start(int milliseconds) {
    // A tick every millisecond would only spin while a page loads; a few are as prompt.
    timer_.start(std::max(milliseconds, 5));
}

void QtOneShotTimer::stop() {
    timer_.stop();
}

bool QtOneShotTimer::active() const {
    return timer_.isActive();
}

bool QtShell::open(const std::u16string& address) {
    const QString a = toQ(address);
    const QUrl url = a.startsWith(u'/') ? QUrl::fromLocalFile(a) : QUrl(a);
    return QDesktopServices::openUrl(url);
}

}  // namespace lodestar::ui
