// The scratch pad of Instant Test: an editable text laid over the source view while the form's
// scratch pad is open, with the form's marks on it, the replacement's result below it, and the
// pattern box's invalid part marked. What the user types goes to the form; the form's results
// come back through its scratch listener.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QSplitter;

namespace lodestar {
class MainWindow;
}

namespace lodestar::ui {

class ScratchPad : public QWidget {
    Q_OBJECT
  public:
    // Lies over `sourceView`, which it follows in size; `patternBox` gets the invalid mark.
    ScratchPad(MainWindow& form, QWidget* sourceView, QPlainTextEdit* patternBox);
    ~ScratchPad() override;

    QPlainTextEdit* editor() const { return editor_; }
    QPlainTextEdit* result() const { return result_; }
    // The marks shown now (at most kMostMarks).
    int markCount() const;
    static constexpr int kMostMarks = 20000;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void refresh();
    void showMarks();
    void showPatternProblem();
    void edited();

    MainWindow& form_;
    QWidget* sourceView_;
    QPlainTextEdit* patternBox_;
    QSplitter* split_ = nullptr;
    QPlainTextEdit* editor_ = nullptr;
    QPlainTextEdit* result_ = nullptr;
    bool filling_ = false;  // the editor's text is being set from the form
};

}  // namespace lodestar::ui
