// The UI library's choosers and pictures: the font chooser in the stored form, the certificate
// field's check, icons from the theme with their fallback, the picture scaled to its control,
// and the dialog that takes its texts from a module's catalogue.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

#include <QLineEdit>
#include <QTest>

#include "global_options_test_env.h"
#include "marrowby/exchange.h"
#include "marrowby/font_chooser.h"
#include "marrowby/icon_manager.h"
#include "marrowby/plugin_dialog.h"
#include "marrowby/qt_text.h"
#include "marrowby/scaled_bitmap.h"
#include "marrowby/ui_messages.h"
#include "ui/global_options/tls_page.h"
#include "report/message_catalogue.h"
#include "ui_test_helpers.h"

namespace {

TEST(FontChooser, StoredFormAndQtFontsConvertBothWays) {
  VChosenFont mono{QStringLiteral("Lab Mono"), 105, 700, true};
  QFont font = VFontFromChoice(mono);
  EXPECT_EQ(font.family(), QStringLiteral("Lab Mono"));
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 10.5);
  EXPECT_EQ(font.weight(), QFont::Bold);
  EXPECT_TRUE(font.italic());
  EXPECT_EQ(VChoiceFromFont(font), mono);

  // Sizes and weights left unset read as 10 points and normal; odd weights stay within range.
  VChosenFont unset{QStringLiteral("Plain"), 0, 0, false};
  EXPECT_DOUBLE_EQ(VFontFromChoice(unset).pointSizeF(), 10.0);
  EXPECT_EQ(VFontFromChoice(unset).weight(), QFont::Normal);
  EXPECT_EQ(VFontFromChoice(VChosenFont{QStringLiteral("Plain"), 90, 5000, false}).weight(), 1000);
  QFont pixels(QStringLiteral("Plain"));
  pixels.setPixelSize(14);
  EXPECT_EQ(VChoiceFromFont(pixels).tenthsOfPoint, 100);
  QFont fine(QStringLiteral("Plain"));
  fine.setPointSizeF(9.26);
  EXPECT_EQ(VChoiceFromFont(fine).tenthsOfPoint, 93);
}

TEST(FontChooser, TheHandlerSeesTheRequestAndCancelKeepsTheFont) {
  QWidget owner;
  std::vector<VFontDialogShown> shown;
  std::optional<VChosenFont> answer = VChosenFont{QStringLiteral("Other Mono"), 120, 400, false};
  VSetFontDialogHandler([&](const VFontDialogShown& request) {
    shown.push_back(request);
    return answer;
  });
  VChosenFont font{QStringLiteral("Lab Mono"), 100, 700, true};
  EXPECT_TRUE(ChooseFontW(&owner, font, true));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].owner, &owner);
  EXPECT_EQ(shown[0].initial, (VChosenFont{QStringLiteral("Lab Mono"), 100, 700, true}));
  EXPECT_TRUE(shown[0].monospacedOnly);
  EXPECT_EQ(font, *answer);

  answer.reset();
  EXPECT_FALSE(ChooseFontW(&owner, font, false));
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_FALSE(shown[1].monospacedOnly);
  EXPECT_EQ(font, (VChosenFont{QStringLiteral("Other Mono"), 120, 400, false}));
  VSetFontDialogHandler(nullptr);
}

QString ErrorText(VReportMessageParams& error) { return MessageText(error); }

TEST(CertificatePath, EmptyOnlyWhenAllowedElseAReadableRegularFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QString file = dir.filePath(QStringLiteral("client.pem"));
  {
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("-----BEGIN CERTIFICATE-----\n");
  }
  VReportMessageParams error;
  EXPECT_TRUE(VDDV_ValidateCertificatePath(VUnicodeString(u""), true, error));
  EXPECT_TRUE(VDDV_ValidateCertificatePath(VUnicodeString(u"  "), true, error));
  EXPECT_FALSE(VDDV_ValidateCertificatePath(VUnicodeString(u" "), false, error));
  EXPECT_EQ(ErrorText(error), QStringLiteral("Enter the path of the certificate file."));
  EXPECT_TRUE(VDDV_ValidateCertificatePath(FromQString(file), false, error));

  QString missing = dir.filePath(QStringLiteral("gone.pem"));
  EXPECT_FALSE(VDDV_ValidateCertificatePath(FromQString(missing), true, error));
  EXPECT_EQ(ErrorText(error),
            QStringLiteral("The certificate file '%1' does not exist.").arg(missing));
  QString below = dir.filePath(QStringLiteral("nowhere/client.pem"));
  EXPECT_FALSE(VDDV_ValidateCertificatePath(FromQString(below), true, error));
  EXPECT_EQ(ErrorText(error), QStringLiteral("The certificate file '%1' does not exist.").arg(below));
  EXPECT_FALSE(VDDV_ValidateCertificatePath(FromQString(dir.path()), true, error));
  EXPECT_EQ(ErrorText(error), QStringLiteral("'%1' is a folder, not a certificate file.").arg(dir.path()));
  // A name that matches only once trimmed is not the file.
  EXPECT_FALSE(VDDV_ValidateCertificatePath(FromQString(file + QStringLiteral(" ")), true, error));

  QString fifo = dir.filePath(QStringLiteral("pipe.pem"));
  ASSERT_EQ(mkfifo(fifo.toUtf8().constData(), 0600), 0);
  EXPECT_FALSE(VDDV_ValidateCertificatePath(FromQString(fifo), true, error));
  EXPECT_EQ(ErrorText(error),
            QStringLiteral("'%1' is not a regular file and cannot hold a certificate.").arg(fifo));

  if (geteuid() != 0) {  // root reads whatever its mode says
    ASSERT_EQ(chmod(file.toUtf8().constData(), 0), 0);
    EXPECT_FALSE(VDDV_ValidateCertificatePath(FromQString(file), true, error));
    EXPECT_EQ(ErrorText(error),
              QStringLiteral("The certificate file '%1' cannot be read: you may not read it.").arg(file));
  }
}

TEST(IconManager, ThemeIconsFirstThenTheFallbackEachLookedUpOnce) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QDir root(dir.path());
  ASSERT_TRUE(root.mkpath(QStringLiteral("labtheme/16x16/apps")));
  {
    QFile index(root.filePath(QStringLiteral("labtheme/index.theme")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=labtheme\nDirectories=16x16/apps\n\n"
                "[16x16/apps]\nSize=16\nType=Fixed\n");
  }
  QImage red(16, 16, QImage::Format_ARGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(root.filePath(QStringLiteral("labtheme/16x16/apps/lab-terminal.png"))));
  QStringList oldPaths = QIcon::themeSearchPaths();
  QString oldTheme = QIcon::themeName();
  QIcon::setThemeSearchPaths({dir.path()});
  QIcon::setThemeName(QStringLiteral("labtheme"));

  VIconManager icons;
  QIcon found = icons.Icon(QStringLiteral("lab-terminal"));
  ASSERT_FALSE(found.isNull());
  EXPECT_EQ(found.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
  // A name the theme lacks takes the fallback name, then the style's own icon.
  QIcon byFallback = icons.Icon(QStringLiteral("lab-missing"), QStringLiteral("lab-terminal"));
  EXPECT_EQ(byFallback.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
  QIcon standard = icons.Icon(QStringLiteral("lab-missing"), QString(), QStyle::SP_DirIcon);
  EXPECT_FALSE(standard.isNull());
  EXPECT_EQ(standard.pixmap(16, 16).toImage(),
            QApplication::style()->standardIcon(QStyle::SP_DirIcon).pixmap(16, 16).toImage());
  EXPECT_NE(standard.pixmap(16, 16).toImage(),
            QApplication::style()->standardIcon(QStyle::SP_FileIcon).pixmap(16, 16).toImage());
  EXPECT_EQ(icons.CachedCount(), 3);

  // Cached: the same icon comes back even after the file behind it is gone.
  ASSERT_TRUE(QFile::remove(root.filePath(QStringLiteral("labtheme/16x16/apps/lab-terminal.png"))));
  EXPECT_EQ(icons.Icon(QStringLiteral("lab-terminal")).cacheKey(), found.cacheKey());
  EXPECT_EQ(icons.CachedCount(), 3);
  icons.Clear();
  EXPECT_EQ(icons.CachedCount(), 0);
  EXPECT_EQ(&VIconManager::Shared(), &VIconManager::Shared());

  QIcon::setThemeName(oldTheme);
  QIcon::setThemeSearchPaths(oldPaths);
}

TEST(ScaledBitmap, FitsTheControlKeepingItsProportionsAndCentred) {
  EXPECT_EQ(VScaledImageRect(QSize(200, 100), QRect(0, 0, 100, 100)), QRect(0, 25, 100, 50));
  EXPECT_EQ(VScaledImageRect(QSize(100, 200), QRect(10, 0, 100, 100)), QRect(35, 0, 50, 100));
  EXPECT_EQ(VScaledImageRect(QSize(10, 10), QRect(0, 0, 300, 100)), QRect(100, 0, 100, 100));
  EXPECT_EQ(VScaledImageRect(QSize(1000, 1), QRect(0, 0, 100, 100)), QRect(0, 49, 100, 1));
  EXPECT_TRUE(VScaledImageRect(QSize(), QRect(0, 0, 10, 10)).isEmpty());
  EXPECT_TRUE(VScaledImageRect(QSize(10, 10), QRect()).isEmpty());

  // A picture, left half blue and right half green, drawn into a wide control.
  QImage picture(40, 20, QImage::Format_RGB32);
  picture.fill(Qt::blue);
  QPainter(&picture).fillRect(20, 0, 20, 20, Qt::green);
  VScaledBitmapCtrl control;
  EXPECT_EQ(control.sizeHint(), QSize(32, 32));
  control.SetImage(picture);
  EXPECT_EQ(control.sizeHint(), QSize(40, 20));
  control.resize(200, 40);
  EXPECT_EQ(control.ImageRect(), QRect(60, 0, 80, 40));
  control.setAutoFillBackground(true);
  QPalette palette = control.palette();
  palette.setColor(QPalette::Window, Qt::white);
  control.setPalette(palette);
  QImage shot = control.grab().toImage();
  EXPECT_EQ(shot.pixelColor(30, 20), QColor(Qt::white));
  EXPECT_EQ(shot.pixelColor(70, 20), QColor(Qt::blue));
  EXPECT_EQ(shot.pixelColor(130, 20), QColor(Qt::green));
  EXPECT_EQ(shot.pixelColor(170, 20), QColor(Qt::white));

  // An image made for a screen of two pixels per point keeps its size in points.
  QImage sharp = picture.scaled(80, 40);
  sharp.setDevicePixelRatio(2.0);
  control.SetImage(sharp);
  EXPECT_EQ(control.sizeHint(), QSize(40, 20));
  EXPECT_EQ(control.ImageRect(), QRect(60, 0, 80, 40));
  // Drawn on a surface of two pixels per point, every pixel of such an image shows as it is:
  // stripes one pixel wide stay apart rather than blurring into one grey.
  QImage stripes(80, 40, QImage::Format_RGB32);
  for (int x = 0; x < 80; ++x)
    for (int y = 0; y < 40; ++y) stripes.setPixelColor(x, y, x % 2 ? Qt::white : Qt::black);
  stripes.setDevicePixelRatio(2.0);
  control.SetImage(stripes);
  control.resize(40, 20);
  QImage dense(80, 40, QImage::Format_RGB32);
  dense.setDevicePixelRatio(2.0);
  dense.fill(Qt::red);
  control.render(&dense);
  EXPECT_EQ(dense.pixelColor(10, 10), QColor(Qt::black));
  EXPECT_EQ(dense.pixelColor(11, 10), QColor(Qt::white));
  EXPECT_EQ(dense.pixelColor(78, 30), QColor(Qt::black));
  EXPECT_EQ(dense.pixelColor(79, 30), QColor(Qt::white));
  control.SetImage(QImage());
  EXPECT_TRUE(control.ImageRect().isEmpty());
}

TEST(PluginDialog, TextsComeFromTheModulesOwnCatalogue) {
  VMessageModule module("lab-plugin");
  ASSERT_TRUE(module.Load(VLanguage::English,
                          "MessageId=0x61A00001\nLab Tunnel Settings\n.\n\n"
                          "MessageId=0x61A00002\nConnect through %1 first.\n.\n"));
  VPluginDialog dialog(&module, 0x61A00001);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Lab Tunnel Settings"));
  EXPECT_EQ(dialog.Module(), &module);
  QLabel* label = dialog.AddLabel(0x61A00002, {u"gateway"});
  EXPECT_EQ(label->text(), QStringLiteral("Connect through gateway first."));
  EXPECT_EQ(dialog.Text(0x61A00002, {u"relay"}), QStringLiteral("Connect through relay first."));
  // The buttons are the library's, and they close the dialog as any other.
  ASSERT_NE(dialog.OkButton(), nullptr);
  EXPECT_EQ(dialog.OkButton()->text(), CatalogueText(ui_messages::kOk));
  auto seen = uitest::WhenModal<VPluginDialog>([](VPluginDialog* shown) { shown->OkButton()->click(); });
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_TRUE(*seen);

  EXPECT_THROW(VPluginDialog(nullptr, 0x61A00001), std::invalid_argument);
}

using CertificateField = GlobalOptionsTest;

// The TLS page of Global Options: no certificate is fine, a named one must be a readable file.
TEST_F(CertificateField, TheTlsPageRefusesACertificateItCannotRead) {
  qtest::TempDir dir;
  qtest::WriteFile(dir / "client.pem", "-----BEGIN CERTIFICATE-----\n");
  auto dialog = Open();
  auto* page = dynamic_cast<GlobalTlsPage*>(dialog->Page(GlobalPageId::Tls));
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(dialog->SelectPage(page));
  QLineEdit* field = page->Edit(u"Certificate Path");
  ASSERT_NE(field, nullptr);
  for (std::string path : {dir / "none.pem", dir.Path()}) {
    uitest::MessageBoxRecorder boxes;
    field->clear();
    QTest::keyClicks(field, QString::fromStdString(path));
    dialog->OkButton()->click();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.contains(QString::fromStdString(path))) << boxes.Shown()[0].text.toStdString();
    EXPECT_EQ(QApplication::focusWidget(), field);
  }
  EXPECT_EQ(Config().certificatePath.Current().ToUtf8(), "");
  field->clear();
  QTest::keyClicks(field, QString::fromStdString(dir / "client.pem"));
  dialog->OkButton()->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(Config().certificatePath.Current().ToUtf8(), dir / "client.pem");
}

TEST_F(CertificateField, TheTlsPageTakesNoCertificate) {
  auto dialog = Open();
  auto* page = dynamic_cast<GlobalTlsPage*>(dialog->Page(GlobalPageId::Tls));
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(dialog->SelectPage(page));
  page->Edit(u"Certificate Path")->clear();
  uitest::MessageBoxRecorder boxes;
  dialog->OkButton()->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(boxes.Shown().empty());
}

}  // namespace
