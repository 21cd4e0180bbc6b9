#include "runtime/Errors.h"

#include "runtime/Cp1252.h"

namespace kalora {

Text IoErrorMessage(int code) {
  switch (code) {
    case 2: return "Arquivo não encontrado"_cp;
    case 3: return "Nome de arquivo inválido"_cp;
    case 4: return "Muitos arquivos abertos";
    case 5: return "Acesso ao arquivo negado";
    case 100: return "Leitura além do fim do arquivo"_cp;
    case 101: return "Disco cheio";
    case 106: return "Entrada de valor numérico inválida"_cp;
    default: return "Erro de I/O " + std::to_string(code);
  }
}

PlatformError InOutError(int code) { return PlatformError("EInOutError", IoErrorMessage(code)); }

PlatformError ConvertError(const Text& message) { return PlatformError("EConvertError", message); }

PlatformError ListIndexError(int index) {
  return PlatformError("EStringListError",
                       "Lista de índices fora de faixa ("_cp + std::to_string(index) + ")");
}

Text ErrorBoxText(const Text& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace kalora
