// The help window: the program's own help topics, opened at a topic
// ("contents" or a help context number such as "500").
#pragma once

#include <QDialog>

class QTextBrowser;

namespace kpr {

class HelpViewer : public QDialog {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* parent = nullptr);
  void ShowTopic(const QString& topic);
  QString current_topic() const;

 private:
  QTextBrowser* browser_;
};

}  // namespace kpr
