# Compile check of the Windows platform files with the mingw-w64 cross compiler:
#   make -C acquisition/platform -f wincheck.mk [OUT=dir]
# The Qt-free storage helpers are compiled with warnings as errors and linked into a small
# program against the real SetupAPI import library; the files that need Qt (the A-scan header
# reader among them) are checked for syntax against the host's Qt headers (no Windows Qt is
# available to link them).

CXX_WIN ?= x86_64-w64-mingw32-g++
CXXFLAGS_WIN := -std=c++17 -Wall -Wextra -Werror
OUT ?= $(or $(TMPDIR),/tmp)/scanlet-wincheck
ROOT := $(abspath ../..)
QT_HEADERS ?= $(or $(shell qmake -query QT_INSTALL_HEADERS 2>/dev/null),/usr/include/x86_64-linux-gnu/qt5)

QT_FILES := instrumentplatform_win.cpp devicewatcher_win.cpp $(ROOT)/records/filehead_win.cpp

.PHONY: all storage qtsyntax clean

all: storage qtsyntax
	@echo "wincheck: the Windows platform files compile with $(CXX_WIN)"

storage:
	@mkdir -p "$(OUT)"
	$(CXX_WIN) $(CXXFLAGS_WIN) -c winstorage_win.cpp -o "$(OUT)/winstorage_win.o"
	$(CXX_WIN) $(CXXFLAGS_WIN) -c wincheck_main.cpp -o "$(OUT)/wincheck_main.o"
	$(CXX_WIN) -o "$(OUT)/wincheck.exe" "$(OUT)/wincheck_main.o" "$(OUT)/winstorage_win.o" -lsetupapi

# -isystem: warnings inside Qt's own headers are not ours to fix.
qtsyntax:
	@test -f "$(QT_HEADERS)/QtCore/qglobal.h" || { echo "wincheck: Qt headers not found in $(QT_HEADERS)" >&2; exit 1; }
	@for f in $(QT_FILES); do \
	  echo "$(CXX_WIN) -fsyntax-only $$f"; \
	  $(CXX_WIN) $(CXXFLAGS_WIN) -fsyntax-only -I"$(ROOT)" -isystem "$(QT_HEADERS)" \
	    -isystem "$(QT_HEADERS)/QtCore" "$$f" || exit 1; \
	done

clean:
	rm -rf "$(OUT)"
