#include "contracts/AppManager.h"
#include "contracts/HostWindow.h"
#include "contracts/LateBinding.h"
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
    EXPECT_EQ(FindViewIndex(views, QStringLiteral("ELE")), 1);
    EXPECT_EQ(FindViewIndex(views, QStringLiteral("EGP")), 2);
    EXPECT_EQ(FindViewIndex(views, QStringLiteral("egp")), -1);
    EXPECT_EQ(FindViewIndex(Views{}, QStringLiteral("EGP")), -1);
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

// Only GetUserName is used; the rest satisfy the interface.
class StubAppManager : public AppManager
{
public:
    QString GetServerName() override { return {}; }
    qint32 GetServerType() override { return 0; }
    qint32 GetUserID() override { return 0; }
    QString GetUserName() override { return QStringLiteral("ann"); }
    void ApplySecurity(QWidget *, const QVariant &, const QString &, const QObjectList &) override {}
    int Message(const QString &, const QStringList &) override { return Answer::OK; }
    RecordsetPtr CallGetQueryRSXML(const QString &) override { return {}; }
    RecordsetPtr Auditing(const QString &, qint32, const QString &) override { return {}; }
    void ShowAbout() override {}
    qint32 GetSystemOrgUnitID() override { return 0; }
    QString GetOrgUnitCode(qint32) override { return {}; }
    bool CheckPermission(const QVariant &) override { return false; }
    bool Delete(const QString &, qint32, const QString &, const QString &) override { return false; }
    bool Copy(const QString &, const QVariant &, qint32, const QString &) override { return false; }
    void PopupEdit(FlexGrid *) override {}
    QString GetControlAccess(const QString &, const QString &) override { return {}; }
    bool OpenRelatedDetail(const QString &, const QString &, const QString &, qint32 &) override { return false; }
    RecordsetPtr GetPrototypeRSForView(const QString &) override { return {}; }
    HostViewManager &ViewManager() override { throw Error(Error::Generic, {}); }
    QString HelpFile() override { return {}; }
    bool GetHelpTopicID(QWidget *, qint32 &) override { return false; }
    void DisplaySystemControlEntry(QWidget *) override {}
};

// What a modal host sees of a hosted search screen.
class HostedSearch : public QWidget
{
    Q_OBJECT
public:
    Q_INVOKABLE void InitModalSearch(talv::AppManager *appManager, talv::RecordsetPtr &rsTemp, const QString &extraInfo)
    {
        userName = appManager->GetUserName() + extraInfo;
        received = rsTemp;
        rsTemp = replacement;
    }
    QString userName;
    RecordsetPtr received;
    RecordsetPtr replacement = std::make_shared<Recordset>();
};

TEST(HostObjectsTest, TravelThroughLateBoundCallsAndARecordsetByReferenceComesBack)
{
    StubAppManager host;
    HostedSearch search;
    const auto callersSet = std::make_shared<Recordset>();

    QVariantList args{QVariant::fromValue<AppManager *>(&host), QVariant::fromValue(callersSet), QStringLiteral("!")};
    LateBinding::callByRef(&search, QStringLiteral("InitModalSearch"), args);
    EXPECT_EQ(search.userName, QStringLiteral("ann!"));
    EXPECT_EQ(search.received, callersSet);
    EXPECT_EQ(args.at(1).value<RecordsetPtr>(), search.replacement);

    // An omitted recordset arrives as a null one.
    args[1] = QVariant();
    LateBinding::callByRef(&search, QStringLiteral("InitModalSearch"), args);
    EXPECT_EQ(search.received, nullptr);
}

} // namespace

#include "HostContractsTest.moc"
