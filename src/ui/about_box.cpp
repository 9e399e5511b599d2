// The about box.
#include "ui/about_box.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/main/help_pages.h"
#include "ui/qt_text.h"

namespace lodestar::ui {

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About Lodestar"));
    setModal(false);

    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(QIcon(QStringLiteral(":/lodestar/icons/logo.svg")).pixmap(QSize(120, 60)));
    image1_->setFixedSize(120, 60);

    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setReadOnly(true);
    text1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text1_->setPlainText(toQ(aboutBanner()));
    text1_->setMinimumSize(360, 130);

    command1_ = new QPushButton(QStringLiteral("&Close"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setDefault(true);
    connect(command1_, &QPushButton::clicked, this, &QDialog::hide);

    auto* top = new QHBoxLayout;
    top->addWidget(image1_, 0, Qt::AlignTop);
    top->addWidget(text1_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(command1_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);
}

}  // namespace lodestar::ui
