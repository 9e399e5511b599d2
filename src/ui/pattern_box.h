// The pattern box: a text box whose pastes (and drops of text) go through the window first,
// which turns text copied from the source view into a one-line pattern.
#pragma once

#include <QPlainTextEdit>
#include <functional>

namespace lodestar::ui {

class PatternBox : public QPlainTextEdit {
  public:
    // `pasted` gives the text to insert for the text the user pastes.
    PatternBox(QWidget* parent, std::function<QString(const QString&)> pasted);

  protected:
    void insertFromMimeData(const QMimeData* source) override;

  private:
    std::function<QString(const QString&)> pasted_;
};

}  // namespace lodestar::ui
