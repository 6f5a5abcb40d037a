#pragma once

#include "framework/core/FormFiles.h"
#include "framework/ui/forms/Form.h"

#include <memory>

namespace designer {

using folio::String;

// A form being designed is a plain TForm: the designer has none of the
// classes its programs derive for their forms. The form file's own class
// name for the root is kept beside it and written back on save, so a
// program reads the file into its own form class.
struct TDesignedForm {
    std::unique_ptr<folio::TForm> Form;
    String RootClassName;
};

// Reads a text or binary form file into a new form marked as designed and
// handed to Designer. Raises (and makes nothing) when the file cannot be
// read or names a class nobody registered.
TDesignedForm ReadDesignedForm(const String& FileName, folio::IDesigner* Designer);
// Reads a form held in memory the same way; Name says where it came from
// in messages.
TDesignedForm ReadDesignedForm(folio::TStream& Stream, folio::IDesigner* Designer);
// A new empty form "Form1" of class "TForm1".
TDesignedForm NewDesignedForm(folio::IDesigner* Designer);

// Writes the form with its file class name as RootClassName. The file is
// replaced only once the whole form is written.
void WriteDesignedForm(const TDesignedForm& Designed, const String& FileName,
                       folio::TFormEncoding Encoding);

// The whole form as bytes (a binary form), and back: the designer's undo
// steps.
String SnapshotForm(folio::TForm& Form);
// A snapshot's component tree, and a tree as a snapshot.
folio::TFormObject SnapshotTree(const String& Snapshot);
String TreeSnapshot(const folio::TFormObject& Tree);
std::unique_ptr<folio::TForm> RestoreForm(const String& Snapshot, folio::IDesigner* Designer);
// Makes Form itself the form a snapshot holds, as RestoreForm would make a
// new one, except that Form keeps its window and its place on the screen:
// its components go, its properties return to a new form's and the
// snapshot is read into it. A window made anew would be shown, and the
// window manager gives a newly shown window the keyboard, wherever the
// user was typing. A snapshot the reader refuses raises and leaves Form
// empty, so one from outside the designer is tried with RestoreForm first.
void RestoreFormInPlace(folio::TForm& Form, const String& Snapshot);

} // namespace designer
