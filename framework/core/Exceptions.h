#pragma once

#include "framework/core/Types.h"

#include <exception>

namespace folio {

// The base of every failure the framework raises. The message is meant for a
// person: it says what failed and, where it helps, why.
class Exception : public std::exception {
public:
    explicit Exception(String Message) : FMessage(std::move(Message)) {}
    const String& Message() const { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    String FMessage;
};

#define FOLIO_EXCEPTION(Name, Base)                                                                \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    }

FOLIO_EXCEPTION(EListError, Exception);
FOLIO_EXCEPTION(EConvertError, Exception);
FOLIO_EXCEPTION(ERangeError, Exception);
FOLIO_EXCEPTION(EInvalidCast, Exception);
FOLIO_EXCEPTION(EInvalidOperation, Exception);
FOLIO_EXCEPTION(EInvalidArgument, Exception);
FOLIO_EXCEPTION(EOutOfResources, Exception);
FOLIO_EXCEPTION(EComponentError, Exception);
FOLIO_EXCEPTION(EThread, Exception);
FOLIO_EXCEPTION(ERegistryException, Exception);
FOLIO_EXCEPTION(EStreamError, Exception);
FOLIO_EXCEPTION(EFilerError, EStreamError);
FOLIO_EXCEPTION(EReadError, EFilerError);
FOLIO_EXCEPTION(EWriteError, EFilerError);
// A form file that cannot be read: the message says where (a line of a text
// form, an offset of a binary one) and what was expected there.
FOLIO_EXCEPTION(EFormError, EReadError);
FOLIO_EXCEPTION(EFOpenError, EStreamError);
FOLIO_EXCEPTION(EFCreateError, EStreamError);
FOLIO_EXCEPTION(EInvalidGraphic, Exception);
FOLIO_EXCEPTION(EInvalidGraphicOperation, Exception);

#undef FOLIO_EXCEPTION

} // namespace folio
