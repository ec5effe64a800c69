#include "app/help_viewer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTextBrowser>

namespace kpr {
namespace {

TEST(HelpViewerTest, EveryHelpContextHasATopicAndOpensAtIt) {
  HelpViewer viewer;
  for (const char* topic : {"contents", "10", "500", "600", "300", "400", "510", "520", "530", "540",
                            "550", "570", "430"}) {
    ASSERT_TRUE(QFile::exists(QString(":/help/") + topic + ".html")) << topic;
    viewer.ShowTopic(topic);
    EXPECT_EQ(viewer.current_topic(), topic);
    const QString text = viewer.findChild<QTextBrowser*>()->toPlainText();
    EXPECT_GT(text.size(), 200) << topic;
  }
  viewer.close();
}

}  // namespace
}  // namespace kpr
