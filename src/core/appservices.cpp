// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "core/appservices.h"

namespace {

class CNoServices : public IAppServices
{
public:
    QMessageBox::StandardButton MessageBox(const QString &, QMessageBox::Icon, QMessageBox::StandardButtons,
                                           QMessageBox::StandardButton) override
    {
        return QMessageBox::NoButton;
    }
    QString FileDialog(QWidget *, const FileDialogRequest &) override { return QString(); }
    void ShellOpen(const QString &, OpenAnswer answer) override { answer(false); }
    QWidget *DialogParent() override { return nullptr; }
    QPrinter *Printer() override { return nullptr; }
    void ShowStatusMessage(const QString &) override {}
    bool GoToSource(const QString &, int, int) override { return false; }
};

CNoServices g_noServices;
IAppServices *g_pServices = nullptr;

} // namespace

IAppServices &Services()
{
    return g_pServices ? *g_pServices : g_noServices;
}

IAppServices *SetServices(IAppServices *services)
{
    IAppServices *previous = g_pServices;
    g_pServices = services;
    return previous;
}

QMessageBox::StandardButton MessageBox(const QString &text, QMessageBox::Icon icon,
                                       QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    return Services().MessageBox(text, icon, buttons, defaultButton);
}

CForwardingServices::CForwardingServices() : m_pPrevious(SetServices(this)) {}

CForwardingServices::~CForwardingServices()
{
    SetServices(m_pPrevious);
}

QMessageBox::StandardButton CForwardingServices::MessageBox(const QString &text, QMessageBox::Icon icon,
                                                            QMessageBox::StandardButtons buttons,
                                                            QMessageBox::StandardButton defaultButton)
{
    return Previous().MessageBox(text, icon, buttons, defaultButton);
}

QString CForwardingServices::FileDialog(QWidget *parent, const FileDialogRequest &request)
{
    return Previous().FileDialog(parent, request);
}

void CForwardingServices::ShellOpen(const QString &target, OpenAnswer answer)
{
    Previous().ShellOpen(target, std::move(answer));
}

QWidget *CForwardingServices::DialogParent()
{
    return Previous().DialogParent();
}

QPrinter *CForwardingServices::Printer()
{
    return Previous().Printer();
}

void CForwardingServices::ShowStatusMessage(const QString &text)
{
    Previous().ShowStatusMessage(text);
}

bool CForwardingServices::GoToSource(const QString &path, int line, int column)
{
    return Previous().GoToSource(path, line, column);
}

IAppServices &CForwardingServices::Previous()
{
    return m_pPrevious ? *m_pPrevious : g_noServices;
}
