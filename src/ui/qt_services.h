// The platform interfaces answered by real Qt objects: message boxes and file dialogs, the
// system clipboard, the one timer and the desktop's default programs.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "platform/clipboard.h"
#include "platform/one_shot_timer.h"
#include "platform/prompts.h"
#include "platform/shell.h"

namespace lodestar::ui {

class QtPrompts : public Prompts {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const std::u16string& text, const std::u16string& caption) override;
    bool okCancel(const std::u16string& text, const std::u16string& caption) override;
    std::size_t choose(const std::u16string& text, const std::u16string& caption,
                       const std::vector<std::u16string>& buttons) override;
    SaveChoice saveDiscardCancel(const std::u16string& text,
                                 const std::u16string& caption) override;
    std::u16string openFile(const std::u16string& filter,
                            const std::u16string& initialFolder) override;
    std::u16string saveAs(const std::u16string& filter,
                          const std::u16string& initialFolder) override;

  private:
    QPointer<QWidget> parent_;
};

class QtClipboard : public Clipboard {
  public:
    bool hasText() const override;
    std::u16string text() const override;
    void setText(const std::u16string& text) override;
};

// Fires `onTick` every `milliseconds` until stopped: the form stops it once its work is done.
class QtOneShotTimer : public OneShotTimer {
  public:
    explicit QtOneShotTimer(std::function<void()> onTick);
    void start(int milliseconds) override;
    void stop() override;
    bool active() const override;

  private:
    QTimer timer_;
};

// Opens a file path or web address with the desktop's default program; the outcome is not
// waited for, only whether a program could be started.
class QtShell : public Shell {
  public:
    bool open(const std::u16string& address) override;
};

}  // namespace lodestar::ui
