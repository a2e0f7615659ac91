// The commands of tresk-cli; each takes the arguments after its name and returns the exit status.
#pragma once

int RunListCommand(int argc, char **argv);
int RunVerifyCommand(int argc, char **argv);
