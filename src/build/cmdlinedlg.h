// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// "Command Line": the hardware linker's argument template with its
// placeholders %p, %f, %b and %m, edited as a copy that Arguments() hands
// back after OK; Escape and the close box leave it as it was.
class CCmdLineDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CCmdLineDlg(const QString &arguments, QWidget *parent = nullptr);
    ~CCmdLineDlg() override;

    int DoModal();
    QString Arguments() const { return m_strArguments; }

public Q_SLOTS:
    void accept() override;

private:
    QString m_strArguments;
    QLineEdit *m_pArgumentsEdit;
    QPushButton *m_pOkButton;
};
