// The about box "About": logo, banner and "Close". Created on its first showing and afterwards
// only hidden and shown again.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace lodestar::ui {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* owner);

    QPlainTextEdit* banner() const { return text1_; }
    QLabel* logo() const { return image1_; }

  private:
    QLabel* image1_;
    QPlainTextEdit* text1_;
    QPushButton* command1_;
};

}  // namespace lodestar::ui
