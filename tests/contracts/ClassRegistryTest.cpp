#include "contracts/ClassRegistry.h"
#include "contracts/Component.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QWidget>

using talv::ClassRegistry;
using talv::Error;

namespace {

int errorNumber(const std::function<void()> &f, const QString &mustMention = {})
{
    try {
        f();
    } catch (const Error &e) {
        EXPECT_TRUE(e.description().contains(mustMention)) << e.description().toStdString();
        return e.number();
    }
    return 0;
}

TEST(ClassRegistryTest, NamesMatchWithoutRegardToCaseUntilUnregistered)
{
    ClassRegistry registry;
    registry.RegisterObject<QObject>(QStringLiteral("ClientFramework.ComponentCollection"));

    QObject parent;
    QObject *created = registry.Create(QStringLiteral("ClientFrameWork.ComponentCollection"), &parent);
    EXPECT_EQ(created->parent(), &parent);
    EXPECT_TRUE(registry.IsRegistered(QStringLiteral("CLIENTFRAMEWORK.COMPONENTCOLLECTION")));

    EXPECT_TRUE(registry.Unregister(QStringLiteral("clientframework.componentcollection")));
    EXPECT_FALSE(registry.Unregister(QStringLiteral("ClientFramework.ComponentCollection")));
    EXPECT_EQ(errorNumber([&] { registry.Create(QStringLiteral("ClientFramework.ComponentCollection")); },
                          QStringLiteral("ClientFramework.ComponentCollection")),
              Error::ClassNotRegistered);
}

TEST(ClassRegistryTest, WidgetClassesRefuseAParentThatIsNoWidget)
{
    ClassRegistry registry;
    registry.RegisterWidget<QWidget>(QStringLiteral("Lib.Control"));

    QWidget window;
    EXPECT_EQ(registry.Create(QStringLiteral("Lib.Control"), &window)->parent(), &window);
    QObject notAWidget;
    EXPECT_EQ(errorNumber([&] { registry.Create(QStringLiteral("Lib.Control"), &notAWidget); }),
              Error::InvalidArgument);
    EXPECT_TRUE(notAWidget.children().isEmpty());
}

TEST(ClassRegistryTest, CreateAsDeletesAnObjectOfTheWrongType)
{
    ClassRegistry registry;
    QPointer<QObject> made;
    registry.Register(QStringLiteral("Lib.Plain"), [&made](QObject *p) -> QObject * {
        made = new QObject(p);
        return made;
    });

    QObject parent;
    EXPECT_EQ(errorNumber([&] { registry.CreateAs<talv::Component>(QStringLiteral("lib.plain"), &parent); },
                          QStringLiteral("Component")),
              Error::TypeMismatch);
    EXPECT_TRUE(made.isNull());
}

TEST(ClassRegistryTest, AFactoryMayUnregisterItsOwnClassWhileItRuns)
{
    ClassRegistry &registry = ClassRegistry::instance();
    registry.Register(QStringLiteral("Lib.Once"), [&registry](QObject *p) {
        registry.Unregister(QStringLiteral("Lib.Once"));
        return new QObject(p);
    });
    QObject parent;
    EXPECT_NE(registry.Create(QStringLiteral("Lib.Once"), &parent), nullptr);
    EXPECT_FALSE(ClassRegistry::instance().IsRegistered(QStringLiteral("Lib.Once")));
}

} // namespace
