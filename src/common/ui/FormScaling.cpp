// Dialog scaling on Qt widgets.
#include "common/ui/FormScaling.h"

#include "common/ui/ScreenFit.h"
#include "platform/Dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLayout>
#include <QScreen>
#include <QTableView>
#include <QTreeView>
#include <QVariant>
#include <QWidget>

namespace tenlog::common {

namespace {

constexpr auto kDesignGeometry = "tenlogDesignGeometry";
constexpr auto kDesignFont = "tenlogDesignPointSize";
constexpr auto kDesignColumns = "tenlogDesignColumns";

QRect designGeometry(QWidget* w)
{
    const QVariant saved = w->property(kDesignGeometry);
    if (saved.isValid())
        return saved.toRect();
    w->setProperty(kDesignGeometry, w->geometry());
    return w->geometry();
}

double designPointSize(QWidget* w)
{
    const QVariant saved = w->property(kDesignFont);
    if (saved.isValid())
        return saved.toDouble();
    const double size = w->font().pointSizeF();
    w->setProperty(kDesignFont, size);
    return size;
}

QPoint screenOrigin(const QWidget* window)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().topLeft() : QPoint();
}

bool managedByLayout(const QWidget* w)
{
    const QWidget* parent = w->parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(w) >= 0;
}

QHeaderView* columnHeader(QWidget* w)
{
    if (auto* tree = qobject_cast<QTreeView*>(w))
        return tree->header();
    if (auto* table = qobject_cast<QTableView*>(w))
        return table->horizontalHeader();
    return nullptr;
}

void scaleColumns(QWidget* view, const ScaleFactors& f)
{
    QHeaderView* header = columnHeader(view);
    if (!header)
        return;
    QVariantList design = view->property(kDesignColumns).toList();
    if (design.isEmpty()) {
        for (int i = 0; i < header->count(); ++i)
            design << header->sectionSize(i);
        view->setProperty(kDesignColumns, design);
    }
    for (int i = 0; i < header->count() && i < design.size(); ++i)
        header->resizeSection(i, qRound(design.at(i).toInt() * f.pixelX));
}

void scaleFont(QWidget* w, double factor)
{
    const double design = designPointSize(w);
    if (design <= 0)
        return; // a pixel-sized font: leave it
    QFont font = w->font();
    font.setPointSizeF(design * factor);
    w->setFont(font);
}

void scaleControls(QWidget* form, const ScaleFactors& f, double fontFactor)
{
    // Controls in creation order, as they were placed on the form.
    const auto children = form->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->isWindow())
            continue; // a separate window owned by the form scales itself
        if (!managedByLayout(child) && !child->parentWidget()->inherits("QAbstractScrollArea"))
            child->setGeometry(scaleRect(designGeometry(child), f));
        if (child->testAttribute(Qt::WA_SetFont))
            scaleFont(child, fontFactor);
        scaleColumns(child, f);
    }
}

void applyScaling(QWidget* form, const ScaleFactors& f, const ScreenMetrics& screen, int acrossWidthPx,
                  std::optional<QSize> exactSize, const FormScalingStyle& style = {})
{
    QRect design = designGeometry(form);
    if (exactSize) {
        design.setSize(*exactSize);
        form->setProperty(kDesignGeometry, design);
    }
    const QSize size = scaleSize(design.size(), f);
    form->resize(size);
    QPoint at = placeAboveCentre(size, acrossWidthPx, screen);
    if (style.atTopOfScreen)
        at.setY(0);
    form->move(at + screenOrigin(form));
    double fontFactor = style.widthFontCap > 0 ? std::min(f.width, style.widthFontCap) : f.height;
    // The type grows with the screen only up to the main window's: a dialog
    // in larger type than the log it serves only crowds the screen.
    const double formPoints = designPointSize(form);
    const double mainPoints = QApplication::font().pointSizeF();
    if (formPoints > 0 && mainPoints > 0)
        fontFactor = std::min(fontFactor, mainPoints / formPoints);
    scaleFont(form, fontFactor);
    scaleControls(form, f, fontFactor);
    // Within the screen's available area whatever the scaling asked for.
    keepOnScreen(form);
}

} // namespace

std::optional<ScreenMetrics> screenMetricsFor(const QWidget* window)
{
    QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return std::nullopt;
    ScreenMetrics m;
    m.widthPx = screen->geometry().width();
    m.heightPx = screen->geometry().height();
    m.logicalDpi = screen->logicalDotsPerInchY();
    return m;
}

void scaleFormToScreen(QWidget* form, platform::Dialogs& dialogs, std::optional<ScreenMetrics> screen,
                       FormScalingStyle style)
{
    if (!screen)
        screen = screenMetricsFor(form);
    if (!screen || !screen->valid()) {
        dialogs.message(QStringLiteral("Form Resize Error"),
                        QStringLiteral("The size of the screen could not be read."),
                        platform::MessageIcon::Critical);
        return;
    }
    applyScaling(form, screenFactors(*screen), *screen, screen->widthPx, std::nullopt, style);
}

void scaleFormToSize(QWidget* form, double targetWidth, double targetHeight, double referenceWidth,
                     double referenceHeight, bool exact, platform::Dialogs& dialogs,
                     std::optional<ScreenMetrics> screen)
{
    if (!screen)
        screen = screenMetricsFor(form);
    if (!screen || !screen->valid() || referenceWidth <= 0 || referenceHeight <= 0) {
        dialogs.message(QStringLiteral("Form Resize Error"),
                        QStringLiteral("The window cannot be scaled to the requested size."),
                        platform::MessageIcon::Critical);
        return;
    }
    const ScaleFactors f = sizeFactors(targetWidth, targetHeight, referenceWidth, referenceHeight, *screen);
    const double tpp = screen->twipsPerPixel();
    std::optional<QSize> exactSize;
    if (exact) // the target in twips, expressed in design pixels
        exactSize = QSize(qRound(targetWidth / kDesignTwipsPerPixel / f.width),
                          qRound(targetHeight / kDesignTwipsPerPixel / f.height));
    applyScaling(form, f, *screen, qRound(targetWidth / tpp), exactSize);
}

} // namespace tenlog::common
