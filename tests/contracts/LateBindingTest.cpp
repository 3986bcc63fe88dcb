#include "contracts/LateBinding.h"

#include "platform/Error.h"
#include "platform/Recordset.h"

#include <gtest/gtest.h>

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
    Q_INVOKABLE QString greet(const QString &name) { return QStringLiteral("Hello ") + name; }
    Q_INVOKABLE bool negate(bool value) { return !value; }
    Q_INVOKABLE QVariant echo(const QVariant &value) { return value; }
    Q_INVOKABLE QString nameOf(QObject *object) { return object ? object->objectName() : QStringLiteral("-"); }
    Q_INVOKABLE QString peerName(Probe *peer) { return peer->objectName(); }
    Q_INVOKABLE void touch() { ++touched; }
    Q_INVOKABLE int count(int a) { return a; }
    Q_INVOKABLE int count(int a, int b) { return a * b; }
    Q_INVOKABLE QString kind(int) { return "number"; }
    Q_INVOKABLE QString kind(const QString &) { return "text"; }
    Q_INVOKABLE int Mode() { return 1; }
    Q_INVOKABLE int mode() { return 2; }
    Q_INVOKABLE QString SetNameType(qint16 type, bool enabled, const QString &keyword = QString())
    {
        return QStringLiteral("%1/%2/%3").arg(type).arg(enabled).arg(keyword);
    }
    Q_INVOKABLE bool lookUp(QVariant &found, qint32 &topic)
    {
        found = "KEY";
        topic += 40;
        return true;
    }
    // As a modal window hands a hosted search the caller's set, which the search may replace.
    Q_INVOKABLE void swapSet(talv::RecordsetPtr &rs)
    {
        received = rs;
        rs = replacement;
    }
    Q_INVOKABLE void fail() { throw Error(Error::Generic, "inner failure"); }
    QString activeControl() const { return "txtGroupName"; }

    int level = 0;
    int touched = 0;
    talv::RecordsetPtr received, replacement = std::make_shared<talv::Recordset>();

signals:
    void Quit();

private slots:
    void hidden() {}
};

// The number of the talv::Error that `f` raises; its description must name `mention`.
int errorNumber(const std::function<void()> &f, const QString &mention = {})
{
    try {
        f();
    } catch (const Error &e) {
        EXPECT_TRUE(e.description().contains(mention)) << e.description().toStdString();
        return e.number();
    }
    return 0;
}

class LateBindingTest : public ::testing::Test
{
protected:
    QVariant call(const char *member, const QVariantList &args = {})
    {
        return LateBinding::call(&probe, QString::fromLatin1(member), args);
    }
    Probe probe;
};

TEST_F(LateBindingTest, CallsMembersAndConvertsArgumentsToTheirParameterTypes)
{
    EXPECT_EQ(call("add", {"40", 2.0}), QVariant(42));
    EXPECT_EQ(call("greet", {7}), QVariant("Hello 7"));
    EXPECT_EQ(call("negate", {true}), QVariant(false));
    EXPECT_FALSE(call("touch").isValid());
    EXPECT_EQ(probe.touched, 1);

    // A QVariant parameter gets the variant itself, not one wrapped in another.
    const QVariantList list{1, "two"};
    EXPECT_EQ(call("echo", QVariantList{QVariant(list)}), QVariant(list));
}

TEST_F(LateBindingTest, ObjectArgumentsConvertAlongTheClassHierarchyOnly)
{
    QWidget widget;
    widget.setObjectName("cmdOK");
    EXPECT_EQ(call("nameOf", {QVariant::fromValue(&widget)}), QVariant("cmdOK"));
    EXPECT_EQ(call("nameOf", {QVariant()}), QVariant("-"));

    Probe peer;
    peer.setObjectName("peer");
    EXPECT_EQ(call("peerName", {QVariant::fromValue<QObject *>(&peer)}), QVariant("peer"));
    EXPECT_EQ(errorNumber([&] { call("peerName", {QVariant::fromValue<QObject *>(&widget)}); }), Error::TypeMismatch);
}

TEST_F(LateBindingTest, TheOverloadIsChosenByArgumentCountThenByExactType)
{
    EXPECT_EQ(call("count", {4}), QVariant(4));
    EXPECT_EQ(call("count", {4, 5}), QVariant(20));
    EXPECT_EQ(call("kind", {5}), QVariant("number"));
    EXPECT_EQ(call("kind", {"5"}), QVariant("text"));
    // A default argument makes a two-argument overload.
    EXPECT_EQ(call("SetNameType", {2, true}), QVariant("2/1/"));
    EXPECT_EQ(call("SetNameType", {2, true, "GENUS"}), QVariant("2/1/GENUS"));
}

TEST_F(LateBindingTest, NamesMatchExactlyFirstThenWithoutRegardToCase)
{
    EXPECT_EQ(call("mode"), QVariant(2));
    EXPECT_EQ(call("ADD", {1, 1}), QVariant(2));
    EXPECT_TRUE(LateBinding::hasMember(&probe, "setnametype", 2));
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

    // The member's own errors reach the caller unchanged.
    EXPECT_EQ(errorNumber([&] { call("fail"); }, "inner failure"), Error::Generic);
}

TEST_F(LateBindingTest, PropertiesAreReadAndWrittenByNameAndFailuresAreReported)
{
    LateBinding::setProperty(&probe, "LEVEL", "7");
    EXPECT_EQ(LateBinding::property(&probe, "level"), QVariant(7));
    EXPECT_EQ(LateBinding::property(&probe, "activecontrol"), QVariant("txtGroupName"));
    probe.setProperty("Tag", 1);
    LateBinding::setProperty(&probe, "TAG", 3);
    EXPECT_EQ(probe.property("Tag"), QVariant(3));

    EXPECT_EQ(errorNumber([&] { LateBinding::property(&probe, "Missing"); }), Error::MemberNotFound);
    // Writing an unknown name must not quietly create a dynamic property.
    EXPECT_EQ(errorNumber([&] { LateBinding::setProperty(&probe, "Missing", 1); }), Error::MemberNotFound);
    EXPECT_FALSE(probe.dynamicPropertyNames().contains("Missing"));
    EXPECT_EQ(errorNumber([&] { LateBinding::setProperty(&probe, "level", "x"); }), Error::TypeMismatch);
    EXPECT_EQ(probe.level, 7);
    EXPECT_EQ(errorNumber([&] { LateBinding::setProperty(&probe, "ActiveControl", {}); }), Error::IllegalOperation);
}

} // namespace

#include "LateBindingTest.moc"
