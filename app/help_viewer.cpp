#include "app/help_viewer.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kpr {

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  setObjectName("HelpViewer");
  setWindowTitle("KPR Help");
  resize(560, 480);
  browser_->setOpenLinks(true);
  auto* contents = new QPushButton("Contents", this);
  auto* back = new QPushButton("Back", this);
  auto* close = new QPushButton("Close", this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addLayout(buttons);
  connect(contents, &QPushButton::clicked, this, [this] { ShowTopic("contents"); });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void HelpViewer::ShowTopic(const QString& topic) {
  const QString path = ":/help/" + topic + ".html";
  browser_->setSource(QUrl("qrc" + path));
  if (!QFile::exists(path)) browser_->setHtml("<p>No help is available on this topic.</p>");
  show();
  raise();
  activateWindow();
}

QString HelpViewer::current_topic() const {
  return browser_->source().fileName().section('.', 0, 0);
}

}  // namespace kpr
