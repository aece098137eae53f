#pragma once

#include "platform/Prompt.h"

#include <memory>

class QFileDialog;
class QInputDialog;
class QMessageBox;

// The Qt dialogs behind the program's Prompt, ready to be shown.

// A message box with an OK button only. Its text is shown as written, never
// as markup, and a tag name such as "</Adresse>" in it is never split over
// two lines; the box is wide enough for its whole title.
std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* parent, const QString& prompt, const QString& title,
                                              Prompt::Icon icon);

// A file dialog for the request, which shows sizes and dates in the
// program's German rather than in the system's language.
std::unique_ptr<QFileDialog> CreateFileDialog(QWidget* parent, const Prompt::FileRequest& request);

// A dialog asking for one line of text, with the proposed text selected so
// that typing replaces it.
std::unique_ptr<QInputDialog> CreateInputDialog(QWidget* parent, const QString& prompt, const QString& title,
                                                const QString& proposed);
