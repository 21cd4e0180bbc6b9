#include "generation/CustomerDocument.h"

#include "generation/CheckDigits.h"

namespace kalora::gen {

Text DRRf(std::string_view texto) {
  Text digits;
  for (char c : texto) {
    if (c >= '0' && c <= '9') digits += c;
  }
  return digits;
}

CustomerDocument ReadCustomerDocument(std::string_view cliente_cpf) {
  CustomerDocument document{DRRf(cliente_cpf), DocumentKind::kNone, {}};
  if (document.digits.size() == 11 && TestaCpf(document.digits)) {
    document.kind = DocumentKind::kCpf;
  } else if (document.digits.size() == 14 && TestaCgc(document.digits)) {
    document.kind = DocumentKind::kCnpj;
  }
  Text number = document.kind == DocumentKind::kNone ? Text() : document.digits;
  document.field = Text(kDocumentWidth - number.size(), '0') + number;
  return document;
}

}  // namespace kalora::gen
