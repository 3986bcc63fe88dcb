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
    registry.RegisterObject<QObject>("ClientFramework.ComponentCollection");

    QObject parent;
    QObject *created = registry.Create("ClientFrameWork.ComponentCollection", &parent);
    EXPECT_EQ(created->parent(), &parent);
    EXPECT_TRUE(registry.IsRegistered("CLIENTFRAMEWORK.COMPONENTCOLLECTION"));

    EXPECT_TRUE(registry.Unregister("clientframework.componentcollection"));
    EXPECT_FALSE(registry.Unregister("ClientFramework.ComponentCollection"));
    EXPECT_EQ(errorNumber([&] { registry.Create("ClientFramework.ComponentCollection"); },
                          "ClientFramework.ComponentCollection"),
              Error::ClassNotRegistered);
}

TEST(ClassRegistryTest, WidgetClassesRefuseAParentThatIsNoWidget)
{
    ClassRegistry registry;
    registry.RegisterWidget<QWidget>("Lib.Control");

    QWidget window;
    EXPECT_EQ(registry.Create("Lib.Control", &window)->parent(), &window);
    QObject notAWidget;
    EXPECT_EQ(errorNumber([&] { registry.Create("Lib.Control", &notAWidget); }), Error::InvalidArgument);
    EXPECT_TRUE(notAWidget.children().isEmpty());
}

TEST(ClassRegistryTest, CreateAsDeletesAnObjectOfTheWrongType)
{
    ClassRegistry registry;
    QPointer<QObject> made;
    registry.Register("Lib.Plain", [&made](QObject *p) -> QObject * {
        made = new QObject(p);
        return made;
    });

    QObject parent;
    EXPECT_EQ(errorNumber([&] { registry.CreateAs<talv::Component>("lib.plain", &parent); }, "Component"),
              Error::TypeMismatch);
    EXPECT_TRUE(made.isNull());
}

TEST(ClassRegistryTest, AFactoryMayUnregisterItsOwnClassWhileItRuns)
{
    ClassRegistry &registry = ClassRegistry::instance();
    registry.Register("Lib.Once", [&registry](QObject *p) {
        registry.Unregister("Lib.Once");
        return new QObject(p);
    });
    QObject parent;
    EXPECT_NE(registry.Create("Lib.Once", &parent), nullptr);
    EXPECT_FALSE(ClassRegistry::instance().IsRegistered("Lib.Once"));
}

} // namespace
