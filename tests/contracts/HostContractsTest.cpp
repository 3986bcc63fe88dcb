#include "contracts/HostWindow.h"
#include "contracts/ViewCollection.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <vector>

using namespace talv;

namespace {

struct CodeEntry : ViewEntry {
    explicit CodeEntry(const char *text) : code(text) {}
    QVariant Item(const QString &) const override { return QString::fromLatin1(code); }
    const char *code;
};

struct Views : ViewCollection {
    Views(std::initializer_list<const char *> codes) : entries(codes.begin(), codes.end()) {}
    qint32 Count() const override { return qint32(entries.size()); }
    const ViewEntry &Item(qint32 index) const override { return entries.at(size_t(index - 1)); }
    std::vector<CodeEntry> entries;
};

TEST(FindViewIndexTest, AnswersTheFirstOneBasedPositionWithExactlyThatCode)
{
    const Views views{"ELE", "EGP", "REF", "EGP"};
    EXPECT_EQ(FindViewIndex(views, "ELE"), 1);
    EXPECT_EQ(FindViewIndex(views, "EGP"), 2);
    EXPECT_EQ(FindViewIndex(views, "egp"), -1);
    EXPECT_EQ(FindViewIndex(Views{}, "EGP"), -1);
}

struct Window : QWidget, HostWindow {
    using QWidget::QWidget;
    void SetMainGridRedraw(bool) override {}
};

TEST(FindHostWindowTest, WalksUpPastPlainContainersButNeverAnswersTheControlItself)
{
    Window window;
    QWidget panel(&window);
    Window controlThatIsAlsoAWindow(&panel);
    EXPECT_EQ(findHostWindow(&controlThatIsAlsoAWindow), static_cast<HostWindow *>(&window));
    EXPECT_EQ(findHostWindow(&window), nullptr);
}

} // namespace
