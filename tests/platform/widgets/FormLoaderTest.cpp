#include "platform/widgets/FormLoader.h"

#include <QBuffer>
#include <QEvent>
#include <QLabel>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A widget that logs the order in which a form applies its properties. Mode is
// declared, as a form names an enum's value only through a declared property; the others
// arrive as dynamic properties, whose change events are logged.
class TProbe : public QWidget {
    Q_OBJECT

public:
    enum TMode : unsigned char { pmFirst, pmSecond, pmThird };
    Q_ENUM(TMode)

private:
    Q_PROPERTY(TMode Mode READ Mode WRITE SetMode)

public:
    using QWidget::QWidget;

    TMode Mode() const { return FMode; }
    void SetMode(TMode mode) { FMode = mode; FLog << "Mode"; }

    QStringList FLog;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::DynamicPropertyChange)
            FLog << QString::fromLatin1(static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName());
        return QWidget::event(event);
    }

private:
    TMode FMode = pmFirst;
};

QString Form(const QString& children)
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>300</width><height>200</height></rect></property>
%1
 </widget>
</ui>
)").arg(children);
}

std::unique_ptr<QWidget> Load(const QString& form)
{
    QByteArray bytes = form.toUtf8();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TFormLoader loader;
    return std::unique_ptr<QWidget>(loader.Load(buffer));
}

class FormLoaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        TFormLoader::RegisterClass(QStringLiteral("TProbe"), [](QWidget* parent) { return new TProbe(parent); });
    }
};

const QString ProbeForm = Form(QStringLiteral(R"(
  <widget class="TProbe" name="Probe">
   <property name="geometry"><rect><x>8</x><y>32</y><width>57</width><height>49</height></rect></property>
   <property name="Text"><string>あいう</string></property>
   <property name="Items"><stringlist><string>Ａ</string><string>BG</string><string></string></stringlist></property>
   <property name="Count"><number>-4</number></property>
   <property name="Color"><longlong>2147483663</longlong></property>
   <property name="Mode"><enum>TProbe::pmThird</enum></property>
   <property name="Flag"><bool>true</bool></property>
   <property name="Text"><string>end</string></property>
  </widget>
)"));

TEST_F(FormLoaderTest, RegisteredClassGetsEveryPropertyInFileOrder)
{
    const std::unique_ptr<QWidget> form = Load(ProbeForm);
    ASSERT_NE(form, nullptr);
    auto* probe = form->findChild<TProbe*>(QStringLiteral("Probe"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->FLog, QStringList({"Text", "Items", "Count", "Color", "Mode", "Flag", "Text"}));
}

TEST_F(FormLoaderTest, CustomPropertyValuesKeepTheirTypes)
{
    const std::unique_ptr<QWidget> form = Load(ProbeForm);
    ASSERT_NE(form, nullptr);
    auto* probe = form->findChild<TProbe*>(QStringLiteral("Probe"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->geometry(), QRect(8, 32, 57, 49));
    EXPECT_EQ(probe->property("Items"), QVariant(QStringList({QStringLiteral("Ａ"), QStringLiteral("BG"), QString()})));
    EXPECT_EQ(probe->property("Count"), QVariant(-4));
    // A system colour does not fit a signed int.
    EXPECT_EQ(probe->property("Color").typeId(), QMetaType::LongLong);
    EXPECT_EQ(probe->property("Color").toLongLong(), 0x8000000FLL);
    EXPECT_EQ(probe->Mode(), TProbe::pmThird);
    EXPECT_EQ(probe->property("Flag"), QVariant(true));
    EXPECT_EQ(probe->property("Text"), QVariant(QStringLiteral("end")));
}

TEST_F(FormLoaderTest, UnregisteredClassesAreQtsOwn)
{
    const std::unique_ptr<QWidget> form = Load(Form(QStringLiteral(R"(
  <widget class="QLabel" name="Label5">
   <property name="geometry"><rect><x>52</x><y>18</y><width>12</width><height>12</height></rect></property>
   <property name="text"><string>横</string></property>
  </widget>
)")));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->size(), QSize(300, 200));
    auto* label = form->findChild<QLabel*>(QStringLiteral("Label5"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("横"));
    EXPECT_EQ(label->geometry(), QRect(52, 18, 12, 12));
}

TEST_F(FormLoaderTest, BrokenFormGivesNoWidgetAndAReason)
{
    QByteArray bytes("<ui version=\"4.0\"><widget class=");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TFormLoader loader;
    EXPECT_EQ(loader.Load(buffer), nullptr);
    EXPECT_FALSE(loader.ErrorString().isEmpty());
}

} // namespace

#include "FormLoaderTest.moc"
