#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

namespace qx40 {
namespace {

TEST(SingleInstance, SecondCopyHandsItsFileToTheFirst) {
    const QString name = SingleInstance::ServerName(QStringLiteral("qx40-test-%1").arg(QCoreApplication::applicationPid()));
    EXPECT_FALSE(SingleInstance::HandOver(name, 1, "nobody.qxs")) << "no copy is running yet";

    SingleInstance first;
    ASSERT_TRUE(first.Listen(name));
    QSignalSpy received(&first, &SingleInstance::HandOverReceived);
    EXPECT_TRUE(SingleInstance::HandOver(name, 2, QStringLiteral("/data/записи/r.qxd")));
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.at(0).at(0).toInt(), 2);
    EXPECT_EQ(received.at(0).at(1).toString(), QStringLiteral("/data/записи/r.qxd"));

    EXPECT_TRUE(SingleInstance::HandOver(name, 0, QString()));  // no argument: only to the front
    ASSERT_TRUE(received.wait(5000));
    EXPECT_EQ(received.at(1).at(0).toInt(), 0);
    EXPECT_TRUE(received.at(1).at(1).toString().isEmpty());
}

TEST(SingleInstance, NameIsPerUser) {
    EXPECT_TRUE(SingleInstance::ServerName("qx40").startsWith("qx40_Mutex_951413_03_"));
}

}  // namespace
}  // namespace qx40
