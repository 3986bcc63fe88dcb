#include "contracts/HostWindow.h"
#include "contracts/ViewCollection.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <vector>

using namespace talv;

namespace {

class CodeEntry : public ViewEntry
{
public:
    explicit CodeEntry(const char *code) : m_code(QString::fromLatin1(code)) {}
    QVariant Item(const QString &) const override { return m_code; }
    QString m_code;
};

class Views : public ViewCollection
{
public:
    Views(std::initializer_list<const char *> codes) : m_entries(codes.begin(), codes.end()) {}
    qint32 Count() const override { return qint32(m_entries.size()); }
    const ViewEntry &Item(qint32 index) const override { return m_entries.at(size_t(index - 1)); }
    std::vector<CodeEntry> m_entries;
};

TEST(FindViewIndexTest, AnswersTheFirstOneBasedPositionWithExactlyThatCode)
{
    const Views views{"ELE", "EGP", "REF", "EGP"};
    EXPECT_EQ(FindViewIndex(views, "ELE"), 1);
    EXPECT_EQ(FindViewIndex(views, "EGP"), 2);
    EXPECT_EQ(FindViewIndex(views, "egp"), -1);
    EXPECT_EQ(FindViewIndex(Views{}, "EGP"), -1);
}

class Window : public QWidget, public HostWindow
{
public:
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
