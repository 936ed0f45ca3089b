// SPDX-FileCopyrightText: 2026 The Quarn BASIC Editor authors
// SPDX-License-Identifier: MIT
#include "app/editorapp.h"

int main(int argc, char *argv[])
{
    CEditorApp app(argc, argv);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return 0;
    }
    const int result = app.exec();
    app.ExitInstance();
    return result;
}
