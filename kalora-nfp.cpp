// kalora-nfp: the support program. See shell/Console.h.
#include "os/Console.h"
#include "printer/UnitBemaMFD.h"
#include "shell/Console.h"

int main(int argc, char** argv) {
  // The printer binding exists before anything else and is released last.
  kalora::printer::UnitBemaMFD unit;
  return kalora::shell::RunConsole(kalora::os::CommandLineArguments(argc, argv));
}
