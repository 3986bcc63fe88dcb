#include "contracts/ClassRegistry.h"
#include "contracts/Component.h"

#include "support/ErrorNumber.h"

#include <QPointer>
#include <QWidget>

using talv::ClassRegistry;
using talv::Error;

namespace {

TEST(ClassRegistryTest, NamesMatchWithoutRegardToCaseUntilUnregistered)
{
    ClassRegistry registry;
    registry.RegisterObject<QObject>("ClientFramework.ComponentCollection");
    QObject parent;
    EXPECT_EQ(registry.Create("ClientFrameWork.ComponentCollection", &parent)->parent(), &parent);
    EXPECT_TRUE(registry.Unregister("clientframework.componentcollection"));
    EXPECT_FALSE(registry.Unregister("ClientFramework.ComponentCollection"));
    EXPECT_EQ(errorNumber([&] { registry.Create("ClientFramework.ComponentCollection"); }), Error::ClassNotRegistered);
}

TEST(ClassRegistryTest, RefusesAWidgetParentThatIsNoWidgetAndDeletesAnObjectOfTheWrongType)
{
    ClassRegistry registry;
    registry.RegisterWidget<QWidget>("Lib.Control");
    QWidget window;
    EXPECT_EQ(registry.Create("Lib.Control", &window)->parent(), &window);
    QObject notAWidget;
    EXPECT_EQ(errorNumber([&] { registry.Create("Lib.Control", &notAWidget); }), Error::InvalidArgument);
    EXPECT_TRUE(notAWidget.children().isEmpty());

    QPointer<QObject> made;
    registry.Register("Lib.Plain", [&made](QObject *p) -> QObject * { return made = new QObject(p); });
    EXPECT_EQ(errorNumber([&] { registry.CreateAs<talv::Component>("lib.plain", &notAWidget); }), Error::TypeMismatch);
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
    EXPECT_FALSE(registry.IsRegistered("Lib.Once"));
}

} // namespace
