// The about box "About": logo, banner, the project's web address and "Close". Created on its
// first showing and afterwards only hidden and shown again.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace lodestar::ui {

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    // `openHomePage` runs on a click on the logo or the link.
    AboutBox(QWidget* owner, std::function<void()> openHomePage);

    QPlainTextEdit* banner() const { return text1_; }
    QLabel* link() const { return label1_; }
    QLabel* logo() const { return image1_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> openHomePage_;
    QLabel* image1_;
    QPlainTextEdit* text1_;
    QLabel* label1_;
    QPushButton* command1_;
};

}  // namespace lodestar::ui
