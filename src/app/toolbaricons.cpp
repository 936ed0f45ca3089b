// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/toolbaricons.h"

#include <QFile>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QRegularExpression>
#include <QSvgRenderer>

namespace ToolbarIcons {

namespace {
// Below this lightness a colour counts as dark, for backgrounds and strokes alike.
constexpr int kDarkBelow = 110;
// The sizes the pictures are drawn at: the toolbar's, at normal and twice the scale.
constexpr int kSizes[] = {16, 24, 32, 48};
} // namespace

QByteArray ForBackground(const QByteArray &svg, const QColor &background, const QColor &ink)
{
    if (background.lightness() >= kDarkBelow)
        return svg;
    static const QRegularExpression stroke(QStringLiteral("stroke=\"(#[0-9a-fA-F]{3,6})\""));
    QString text = QString::fromUtf8(svg);
    QString result;
    qsizetype from = 0;
    for (auto match = stroke.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        result += QStringView(text).mid(from, found.capturedStart() - from);
        const bool dark = QColor(found.captured(1)).lightness() < kDarkBelow;
        result += dark ? QStringLiteral("stroke=\"%1\"").arg(ink.name()) : found.captured();
        from = found.capturedEnd();
    }
    result += QStringView(text).mid(from);
    return result.toUtf8();
}

QIcon Icon(const QString &name, const QPalette &palette)
{
    QFile file(QStringLiteral(":/res/svg/toolbar/%1.svg").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return QIcon();
    QSvgRenderer renderer(
        ForBackground(file.readAll(), palette.color(QPalette::Window), palette.color(QPalette::WindowText)));
    QIcon icon;
    for (const int size : kSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace ToolbarIcons
