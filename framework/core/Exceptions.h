#pragma once

#include "framework/core/Types.h"

#include <exception>

namespace folio {

/// The base of every failure the framework raises. The message is meant for a
/// person: it says what failed and, where it helps, why.
class Exception : public std::exception {
public:
    /// A failure described by Message (every derived class takes the same).
    explicit Exception(String Message) : FMessage(std::move(Message)) {}
    /// The message, as given.
    const String& Message() const { return FMessage; }
    /// The message, for code that catches std::exception.
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    String FMessage;
};

#define FOLIO_EXCEPTION(Name, Base)                                                                \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

/// An index outside a list, collection or component's range, or a list
/// operation the list cannot do.
FOLIO_EXCEPTION(EListError, Exception);
/// A value that cannot be converted or assigned: an unknown name, text that
/// is not a number, a date that does not exist, two classes Assign cannot join.
FOLIO_EXCEPTION(EConvertError, Exception);
/// A number outside the range its use allows (a scan line, a size).
FOLIO_EXCEPTION(ERangeError, Exception);
/// An object of a class other than the one required.
FOLIO_EXCEPTION(EInvalidCast, Exception);
/// A call the object cannot take in its present state.
FOLIO_EXCEPTION(EInvalidOperation, Exception);
/// An argument a call cannot use (a null where something is needed).
FOLIO_EXCEPTION(EInvalidArgument, Exception);
/// Memory, a handle or another resource of the system ran out.
FOLIO_EXCEPTION(EOutOfResources, Exception);
/// A component's name or ownership would break a rule (a duplicate or
/// invalid name, an owner cycle).
FOLIO_EXCEPTION(EComponentError, Exception);
/// A thread or a step for another thread could not run.
FOLIO_EXCEPTION(EThread, Exception);
/// A registry key or value that cannot be opened, read or written.
FOLIO_EXCEPTION(ERegistryException, Exception);
/// A stream that cannot seek, resize or move its bytes.
FOLIO_EXCEPTION(EStreamError, Exception);
/// The base of the form reader's and writer's failures.
FOLIO_EXCEPTION(EFilerError, EStreamError);
/// Fewer bytes than asked for, or bytes that do not make what was expected.
FOLIO_EXCEPTION(EReadError, EFilerError);
/// Bytes that could not be written.
FOLIO_EXCEPTION(EWriteError, EFilerError);
/// A form file that cannot be read: the message says where (a line of a text
/// form, an offset of a binary one) and what was expected there.
FOLIO_EXCEPTION(EFormError, EReadError);
/// A file that cannot be opened; the message names it and the system's reason.
FOLIO_EXCEPTION(EFOpenError, EStreamError);
/// A file that cannot be created; the message names it and the system's reason.
FOLIO_EXCEPTION(EFCreateError, EStreamError);
/// Picture data that is damaged or of a kind the framework does not read.
FOLIO_EXCEPTION(EInvalidGraphic, Exception);
/// A graphics call the picture cannot take (a size it cannot have, say).
FOLIO_EXCEPTION(EInvalidGraphicOperation, Exception);

#undef FOLIO_EXCEPTION

} // namespace folio
