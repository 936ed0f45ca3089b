// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include "build/buildsettings.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLineEdit;
class QPushButton;

// "Build Options": the paths of the compiler, the hardware linker and the
// emulator and the two compiler flags. It edits a copy of the settings; the
// caller takes Settings() back after OK. Picking a linker asks for its
// argument template, which is stored at once, whatever becomes of the rest.
class COptionsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit COptionsDlg(const BuildSettings &settings, QWidget *parent = nullptr);
    ~COptionsDlg() override;

    int DoModal();
    // The settings as edited: all of them after OK; after Cancel only the
    // linker's template may have changed, and was stored.
    const BuildSettings &Settings() const { return m_settings; }

    // File dialog filters in Qt's form.
    static QStringList ExecutableFilters();
    static QStringList LinkerFilters();
    // The filter under which executables of any name are listed; empty on Windows.
    static QString ExecutableFilter();

public Q_SLOTS:
    void accept() override;

private:
    void OnBrowseCompiler();
    void OnBrowseLinker();
    void OnBrowseEmulator();
    QString BrowseForFile(const QString &fileName, const QString &defaultSuffix, const QStringList &filters);
    void FieldsToControls();
    void ControlsToFields();

    BuildSettings m_settings;

    QLineEdit *m_pCompilerEdit;
    QPushButton *m_pCompilerBrowse;
    QLineEdit *m_pLinkerEdit;
    QPushButton *m_pLinkerBrowse;
    QLineEdit *m_pEmulatorEdit;
    QPushButton *m_pEmulatorBrowse;
    QPushButton *m_pOkButton;
    QPushButton *m_pCancelButton;
    QCheckBox *m_pDebugCheck;
    QCheckBox *m_pMultiBootCheck;
};
