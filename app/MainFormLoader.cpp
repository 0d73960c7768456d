#include "app/MainFormLoader.h"

#include "app/ClassicLook.h"
#include "app/Form1.h"
#include "app/Glyphs.h"
#include "app/LogoSaver.h"
#include "app/SettingsLocation.h"
#include "components/widgets/GradBox.h"
#include "components/settings/IniGT.h"
#include "components/widgets/ManyBtn.h"
#include "platform/base/Exception.h"
#include "platform/widgets/Tr.h"
#include "platform/widgets/Bevel.h"
#include "platform/widgets/ColorDialog.h"
#include "platform/widgets/FontDialog.h"
#include "platform/widgets/FormLoader.h"
#include "platform/widgets/Image.h"
#include "platform/widgets/Label.h"
#include "platform/widgets/PaintBox.h"
#include "platform/widgets/SaveDialog.h"
#include "platform/widgets/SpinEdit.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

// The form lives in a resource of this static library, which must be registered by hand.
static void InitFormResource()
{
    Q_INIT_RESOURCE(MainForm);
}

namespace {

void RegisterFormClasses()
{
    RegisterManyBtn();
    TFormLoader::RegisterClass(QStringLiteral("TGradBox"), [](QWidget* parent) { return new TGradBox(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TLabel"), [](QWidget* parent) { return new TLabel(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TSpinEdit"), [](QWidget* parent) { return new TSpinEdit(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TPaintBox"), [](QWidget* parent) { return new TPaintBox(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TImage"), [](QWidget* parent) { return new TImage(parent); });
    TFormLoader::RegisterClass(QStringLiteral("TBevel"), [](QWidget* parent) { return new TBevel(parent); });
}

// Binds control to the form's control of that name.
template <typename T>
void Bind(const QWidget& client, T*& control, const char* name)
{
    control = client.findChild<T*>(QString::fromLatin1(name));
    if (!control)
        throw Exception(QStringLiteral("The window's form has no control %1.").arg(QString::fromLatin1(name)));
}

} // namespace

QWidget& TMainFormLoader::Load(TForm1& form, const QString& programFile)
{
    InitFormResource();
    RegisterFormClasses();
    form.setFont(TClassicLook::WindowFont());
    QFile file(QStringLiteral(":/forms/MainForm.ui"));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("The window's form is missing from the program."));
    TFormLoader loader;
    QWidget* client = loader.Load(file, &form);
    if (!client)
        throw Exception(loader.ErrorString());
    client->move(0, 0);
    BindControls(form, *client);
    ShowDesignValues(form);
    CreateComponents(form, programFile);
    return *client;
}

void TMainFormLoader::BindControls(TForm1& form, const QWidget& client)
{
    Bind(client, form.GroupBox1, "GroupBox1");
    Bind(client, form.Edit1, "Edit1");
    Bind(client, form.MbText, "MbText");
    Bind(client, form.GroupBox2, "GroupBox2");
    Bind(client, form.Label5, "Label5");
    Bind(client, form.EdHs, "EdHs");
    Bind(client, form.Label4, "Label4");
    Bind(client, form.EdVs, "EdVs");
    Bind(client, form.GroupBox3, "GroupBox3");
    Bind(client, form.CbStyle, "CbStyle");
    Bind(client, form.GroupBox4, "GroupBox4");
    Bind(client, form.Label3, "Label3");
    Bind(client, form.MbMix, "MbMix");
    Bind(client, form.Label6, "Label6");
    Bind(client, form.MbGra, "MbGra");
    Bind(client, form.Label2, "Label2");
    Bind(client, form.LbTopC, "LbTopC");
    Bind(client, form.LbLastC, "LbLastC");
    Bind(client, form.MbColor, "MbColor");
    Bind(client, form.SpeedButton3, "SpeedButton3");
    Bind(client, form.BtCopy, "BtCopy");
    Bind(client, form.BtSave, "BtSave");
    Bind(client, form.Bv, "Bv");
    Bind(client, form.Pbox, "Pbox");
    Bind(client, form.Gbox, "Gbox");
    Bind(client, form.Img, "Img");
    Bind(client, form.Label1, "Label1");
}

// The logo's design values are the composer's defaults, which the renderer and a missing
// settings file start from too; the label keeps the window's character set, as a form
// that does not store one leaves it.
void TMainFormLoader::ShowDesignValues(TForm1& form)
{
    const TLogoParams design = TLogoParams::Defaults();
    form.Edit1->setText(design.Text);
    form.Label1->SetCaption(design.Text);
    TFont font = design.Font;
    font.SetCharset(form.Label1->Font().Charset());
    form.Label1->Font().Assign(font);
    for (TSpinEdit* margin : {form.EdHs, form.EdVs}) {
        margin->SetMinValue(0);
        margin->SetMaxValue(TLogoParams::MaxSpace);
    }
    form.EdHs->SetValue(design.HSpace);
    form.EdVs->SetValue(design.VSpace);
}

void TMainFormLoader::CreateComponents(TForm1& form, const QString& programFile)
{
    form.ClDlg = std::make_unique<TColorDialog>();
    form.FntDlg = std::make_unique<TFontDialog>();
    form.SaveDlg = std::make_unique<TSaveDialog>();
    form.SaveDlg->SetFilter(TLogoSaver::Filter());
    form.IniGT = new TIniGT(&form, programFile);
    form.IniGT->SetDefaultDir(ddApplication);
    form.IniGT->SetFence(fnNone);
    form.IniGT->Loaded();
    const QString userFile = TSettingsLocation::PrepareUserFile(programFile, form.IniGT->FileName());
    if (!userFile.isEmpty())
        form.IniGT->SetFileName(userFile);
    form.Pm = new QMenu(&form);
    form.MmAdd = form.Pm->addAction(Tr("スタイル追加"));
    form.N1 = form.Pm->addSeparator();
    form.MmDel = form.Pm->addAction(Tr("削除"));
    form.MmGallery = new QAction(Tr("スタイル一覧…"), &form);
    form.Pm->addSeparator();
    form.Pm->addAction(form.MmGallery);
    form.ImgMenu = new QMenu(&form);
    form.MmCopy = form.ImgMenu->addAction(Tr("コピー"));
    form.MmSave = form.ImgMenu->addAction(Tr("名前を付けて保存…"));
    form.ImgMenu->addSeparator();
    form.MmSmooth = form.ImgMenu->addAction(Tr("なめらかな縁"));
    form.MmSmooth->setCheckable(true);
    form.MmEffects = form.ImgMenu->addAction(Tr("効果…"));
    form.ImgMenu->addSeparator();
    form.ImgMenu->addAction(form.MmGallery);
    form.Timer1 = new QTimer(&form);
    form.Timer1->setInterval(1000);
    form.SpeedButton3->setIcon(QIcon(AboutGlyph()));
    form.BtCopy->setIcon(QIcon(CopyGlyph()));
    form.BtSave->setIcon(QIcon(SaveGlyph()));
}
