#include "framework/core/FormFiles.h"

#include "framework/core/AtomicFile.h"
#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormBinary.h"
#include "framework/core/FormText.h"
#include "framework/core/Reader.h"
#include "framework/core/Streams.h"
#include "framework/core/Writer.h"

#include <cstring>
#include <memory>

namespace folio {

bool IsBinaryForm(TStream& Stream) {
    char Head[sizeof BinaryFormSignature];
    const std::int64_t Start = Stream.GetPosition();
    const std::int64_t Got = Stream.Read(Head, sizeof Head);
    Stream.SetPosition(Start);
    return Got == sizeof Head && std::memcmp(Head, BinaryFormSignature, sizeof Head) == 0;
}

TFormObject ReadFormObject(TStream& Stream) {
    return IsBinaryForm(Stream) ? ReadBinaryForm(Stream) : ReadTextForm(Stream);
}

void WriteFormObject(const TFormObject& Form, TStream& Stream, TFormEncoding Encoding) {
    if (Encoding == feText)
        WriteTextForm(Form, Stream);
    else
        WriteBinaryForm(Form, Stream);
}

void WriteComponent(TStream& Stream, TComponent* Instance, TComponent* Ancestor,
                    TFormEncoding Encoding) {
    TWriter Writer;
    WriteFormObject(Writer.WriteRoot(Instance, Ancestor), Stream, Encoding);
}

namespace {

TComponent* ReadForms(const std::vector<TFormObject>& Forms, TComponent* Instance) {
    std::unique_ptr<TComponent> Made;
    if (!Instance) {
        // The oldest form names the class the others inherit from.
        const TFormObject& First = Forms.front();
        const TClassInfo* Class = GetClass(First.ClassName);
        if (!Class || !Class->CreateComponent)
            throw EFormError(DescribeFormPlace(First.Place) + ": the form's class " +
                             First.ClassName + " is not registered as creatable");
        Made.reset(Class->CreateComponent(nullptr));
        Instance = Made.get();
    }
    std::vector<const TFormObject*> Layers;
    for (const TFormObject& Form : Forms) Layers.push_back(&Form);
    TReader Reader(Instance);
    Reader.ReadForms(Layers);
    Made.release();
    return Instance;
}

} // namespace

TComponent* ReadComponent(TStream& Stream, TComponent* Instance) {
    std::vector<TFormObject> Forms;
    Forms.push_back(ReadFormObject(Stream));
    return ReadForms(Forms, Instance);
}

void ReadInheritedComponent(const std::vector<TStream*>& Streams, TComponent* Instance) {
    if (!Instance)
        throw EInvalidArgument("ReadInheritedComponent needs the component to read into");
    std::vector<TFormObject> Forms;
    for (TStream* Stream : Streams) Forms.push_back(ReadFormObject(*Stream));
    if (!Forms.empty()) ReadForms(Forms, Instance);
}

void WriteComponentFile(const String& FileName, TComponent* Instance, TFormEncoding Encoding,
                        TComponent* Ancestor) {
    // The whole form is made in memory first, so that a component that
    // cannot be written leaves an existing file alone; the bytes then go to
    // a new file that takes the old one's place only once they are all
    // written, so a full disk or a quota does not lose the form either.
    TMemoryStream Bytes;
    WriteComponent(Bytes, Instance, Ancestor, Encoding);
    TAtomicFileStream File(FileName);
    File.WriteBuffer(Bytes.Memory(), Bytes.GetSize());
    File.Commit();
}

TComponent* ReadComponentFile(const String& FileName, TComponent* Instance) {
    TMemoryStream Bytes;
    Bytes.LoadFromFile(FileName);
    return ReadComponent(Bytes, Instance);
}

void ObjectBinaryToText(TStream& Input, TStream& Output) {
    WriteTextForm(ReadBinaryForm(Input), Output);
}

void ObjectTextToBinary(TStream& Input, TStream& Output) {
    WriteBinaryForm(ReadTextForm(Input), Output);
}

} // namespace folio
