// The about box.
#include "ui/about_box.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/main/help_pages.h"
#include "ui/qt_text.h"

namespace lodestar::ui {

AboutBox::AboutBox(QWidget* owner, std::function<void()> openHomePage)
    : QDialog(owner), openHomePage_(std::move(openHomePage)) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Lodestar"));
    setModal(false);

    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(QIcon(QStringLiteral(":/lodestar/icons/logo.svg")).pixmap(QSize(120, 60)));
    image1_->setFixedSize(120, 60);
    image1_->setCursor(Qt::PointingHandCursor);
    image1_->installEventFilter(this);

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setReadOnly(true);
    text1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text1_->setPlainText(toQ(aboutBanner()));
    text1_->setMinimumSize(360, 130);

    label1_ = new QLabel(toQ(kHomePage), this);
    label1_->setObjectName(QStringLiteral("Label1"));
    QFont f = label1_->font();
    f.setUnderline(true);
    label1_->setFont(f);
    label1_->setStyleSheet(QStringLiteral("color: #0645ad;"));
    label1_->setCursor(Qt::PointingHandCursor);
    label1_->installEventFilter(this);

    command1_ = new QPushButton(QStringLiteral("&Close"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setDefault(true);
    connect(command1_, &QPushButton::clicked, this, &QDialog::hide);

    auto* top = new QHBoxLayout;
    top->addWidget(image1_, 0, Qt::AlignTop);
    top->addWidget(text1_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(label1_, 1);
    bottom->addWidget(command1_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == image1_ || watched == label1_) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (openHomePage_) openHomePage_();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace lodestar::ui
