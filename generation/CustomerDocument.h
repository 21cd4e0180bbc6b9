// A customer's document as the finished coupon record carries it.
//
// The coupon table stores the CPF or CNPJ as free text ("529.982.247-25", "11222333000181",
// ...). Only its digits count, and the number is written only when its check digits are
// valid: 11 digits as a CPF, 14 as a CNPJ. In the record it is always 14 characters.
#pragma once

#include "runtime/Text.h"

namespace kalora::gen {

inline constexpr size_t kDocumentWidth = 14;

enum class DocumentKind { kNone, kCpf, kCnpj };

struct CustomerDocument {
  Text digits;          // the digits of the stored text, in their order
  DocumentKind kind;    // what the digits are valid as
  Text field;           // what positions 178-191 receive: the number or 14 zeros
};

// The characters "0" to "9" of the text, in their order.
Text DRRf(std::string_view texto);

CustomerDocument ReadCustomerDocument(std::string_view cliente_cpf);

}  // namespace kalora::gen
