// Every resource and command number shared by the .rc files and the code.
#pragma once
