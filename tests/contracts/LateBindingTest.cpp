#include "contracts/LateBinding.h"

#include "platform/Recordset.h"

#include "support/ErrorNumber.h"

#include <QWidget>

using talv::Error;
namespace LateBinding = talv::LateBinding;

namespace {

class Probe : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int level MEMBER level)
    Q_PROPERTY(QString ActiveControl READ activeControl)
public:
    Q_INVOKABLE int add(int a, int b) { return a + b; }
    Q_INVOKABLE QVariant echo(const QVariant &value) { return value; }
    Q_INVOKABLE QString nameOf(QObject *object) { return object ? object->objectName() : QStringLiteral("-"); }
    Q_INVOKABLE QString peerName(Probe *peer) { return peer->objectName(); }
    Q_INVOKABLE QString kind(int) { return "number"; }
    Q_INVOKABLE QString kind(const QString &) { return "text"; }
    Q_INVOKABLE QString SetNameType(qint16 type, bool on, const QString &keyword = {})
    {
        return QString("%1/%2/%3").arg(type).arg(on).arg(keyword);
    }
    Q_INVOKABLE bool lookUp(QVariant &found, qint32 &topic) { return found = "KEY", topic += 40, true; }
    // As a modal window hands a hosted search the caller's set, which the search may replace.
    Q_INVOKABLE void swapSet(talv::RecordsetPtr &rs) { received = std::exchange(rs, replacement); }
    Q_INVOKABLE void fail() { throw Error(Error::Generic, "inner failure"); }
    QString activeControl() const { return "txtGroupName"; }

    int level = 0;
    talv::RecordsetPtr received, replacement = std::make_shared<talv::Recordset>();

signals:
    void Quit();

private slots:
    void hidden() {}
};

class LateBindingTest : public ::testing::Test
{
protected:
    QVariant call(const char *member, const QVariantList &args = {})
    {
        return LateBinding::call(&probe, QString::fromLatin1(member), args);
    }
    Probe probe;
};

TEST_F(LateBindingTest, ArgumentsConvertToTheParameterTypesObjectsOnlyAlongTheClassHierarchy)
{
    EXPECT_EQ(call("add", {"40", 2.0}), QVariant(42));
    // A QVariant parameter gets the variant itself, not one wrapped in another.
    const QVariantList list{1, "two"};
    EXPECT_EQ(call("echo", QVariantList{QVariant(list)}), QVariant(list));

    QWidget widget;
    widget.setObjectName("cmdOK");
    EXPECT_EQ(call("nameOf", {QVariant::fromValue(&widget)}), QVariant("cmdOK")) << "a subclass converts";
    EXPECT_EQ(call("nameOf", {QVariant()}), QVariant("-"));
    Probe peer;
    peer.setObjectName("peer");
    EXPECT_EQ(call("peerName", {QVariant::fromValue<QObject *>(&peer)}), QVariant("peer"));
}

TEST_F(LateBindingTest, NamesMatchWithoutRegardToCaseAndOverloadsByCountThenExactType)
{
    EXPECT_EQ(call("ADD", {1, 1}), QVariant(2));
    EXPECT_EQ(call("kind", {5}), QVariant("number"));
    EXPECT_EQ(call("kind", {"5"}), QVariant("text"));
    // A default argument makes a two-argument overload.
    EXPECT_EQ(call("setnametype", {2, true}), QVariant("2/1/"));
    EXPECT_EQ(call("SetNameType", {2, true, "GENUS"}), QVariant("2/1/GENUS"));
    EXPECT_FALSE(LateBinding::hasMember(&probe, "SetNameType", 1));
}

TEST_F(LateBindingTest, ReferenceParametersWriteBackOnlyThroughCallByRef)
{
    QVariantList args{QVariant(), 2};
    EXPECT_EQ(LateBinding::callByRef(&probe, "lookUp", args), QVariant(true));
    EXPECT_EQ(args.at(0), QVariant("KEY"));
    EXPECT_EQ(args.at(1).toInt(), 42);
    const QVariantList constArgs{QVariant(), 2};
    call("lookUp", constArgs);
    EXPECT_EQ(constArgs.at(1), QVariant(2));

    const auto callers = std::make_shared<talv::Recordset>();
    QVariantList set{QVariant::fromValue(callers)};
    LateBinding::callByRef(&probe, "swapSet", set);
    EXPECT_EQ(probe.received, callers);
    EXPECT_EQ(set.at(0).value<talv::RecordsetPtr>(), probe.replacement);
    set[0] = QVariant(); // an omitted recordset arrives as a null one
    LateBinding::callByRef(&probe, "swapSet", set);
    EXPECT_EQ(probe.received, nullptr);
}

TEST_F(LateBindingTest, MissingMembersWrongCountsAndWrongTypesRaiseErrorsNamingTheMember)
{
    EXPECT_EQ(errorNumber([&] { call("LoadData", {1}); }, "LoadData"), Error::MemberNotFound);
    EXPECT_EQ(errorNumber([&] { call("add", {1}); }, "Probe"), Error::MemberNotFound);
    EXPECT_EQ(errorNumber([&] { call("Quit"); }), Error::MemberNotFound);   // a signal
    EXPECT_EQ(errorNumber([&] { call("hidden"); }), Error::MemberNotFound); // not public
    EXPECT_EQ(errorNumber([&] { LateBinding::call(nullptr, "add", {1, 2}); }), Error::MemberNotFound);
    EXPECT_EQ(errorNumber([&] { call("add", {"abc", 1}); }, "add"), Error::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { call("nameOf", {5}); }), Error::TypeMismatch);
    QObject notAProbe;
    EXPECT_EQ(errorNumber([&] { call("peerName", {QVariant::fromValue(&notAProbe)}); }), Error::TypeMismatch);
    // The member's own errors reach the caller unchanged.
    EXPECT_EQ(errorNumber([&] { call("fail"); }, "inner failure"), Error::Generic);
}

TEST_F(LateBindingTest, PropertiesAreReadAndWrittenByNameAndFailuresAreReported)
{
    LateBinding::setProperty(&probe, "LEVEL", "7");
    EXPECT_EQ(probe.level, 7);
    EXPECT_EQ(LateBinding::property(&probe, "activecontrol"), QVariant("txtGroupName"));

    EXPECT_EQ(errorNumber([&] { LateBinding::property(&probe, "Missing"); }), Error::MemberNotFound);
    // Writing an unknown name must not quietly create a dynamic property.
    EXPECT_EQ(errorNumber([&] { LateBinding::setProperty(&probe, "Missing", 1); }), Error::MemberNotFound);
    EXPECT_FALSE(probe.dynamicPropertyNames().contains("Missing"));
    EXPECT_EQ(errorNumber([&] { LateBinding::setProperty(&probe, "level", "x"); }), Error::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { LateBinding::setProperty(&probe, "ActiveControl", {}); }), Error::IllegalOperation);
}

} // namespace

#include "LateBindingTest.moc"
