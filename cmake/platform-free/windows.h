// Found first on the include path of the host build: the text layers must stay platform-free.
#error "windows.h in platform-free code: move the Win32 part to a Windows-only source file"
