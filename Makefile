# A thin front over CMake: every target configures and builds what it needs first.
BUILD ?= build
CMAKE ?= cmake
GEN = -G Ninja
# WERROR=ON makes every warning an error, as the CI build does.
WERROR ?= OFF
# Where `make install` puts the program (PREFIX/bin), its manual page, completions and documents.
PREFIX ?= /usr/local
# Installs the Debian packages a target needs that are missing (see the script).
DEPS = scripts/install-deps

.PHONY: all build run install package test test-sanitize bench fuzz picture fault-reference reference-pages web serve-web test-web clean

all: build

$(BUILD)/build.ninja:
	$(CMAKE) -S . -B $(BUILD) $(GEN) -DSCENARIO_WERROR=$(WERROR)

build: $(BUILD)/build.ninja
	$(CMAKE) --build $(BUILD)

# The built-in scenario build; its files appear beside the program, in $(BUILD)/. Needs only
# the compiler, CMake and Ninja.
run:
	$(DEPS) program
	$(MAKE) $(BUILD)/build.ninja
	$(CMAKE) --build $(BUILD) --target scenario-builder
	$(BUILD)/scenario-builder
	@echo "The documents and the compiled files are in $(BUILD)/, beside the program."

# The program, its manual page, completions and documents, through CMake's install rules;
# the program's help names the installed reference, so the prefix is configured first.
install:
	$(DEPS) program
	$(CMAKE) -S . -B $(BUILD) $(GEN) -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	$(CMAKE) --build $(BUILD) --target scenario-builder
	$(CMAKE) --install $(BUILD)

# A Debian package of what `make install` puts in place, under /usr, and the VS Code
# extension packaged by @vscode/vsce (pinned in editors/vscode/package-lock.json), into
# $(BUILD)/package/; the contents of both are listed.
package: editors/vscode/node_modules/.package-lock.json
	$(DEPS) package
	$(CMAKE) -S . -B $(BUILD) $(GEN) -DCMAKE_INSTALL_PREFIX=/usr
	$(CMAKE) --build $(BUILD) --target scenario-builder
	cd $(BUILD) && cpack
	dpkg-deb --contents $(BUILD)/package/*.deb
	cd editors/vscode && node_modules/.bin/vsce package --allow-missing-repository --out $(abspath $(BUILD))/package/ </dev/null
	unzip -l $(BUILD)/package/*.vsix

# The extension's library and the packaging tool, as the lock file pins them (keytar, an
# optional native part of the tool for publishing, is left out).
editors/vscode/node_modules/.package-lock.json: editors/vscode/package-lock.json
	$(DEPS) package
	cd editors/vscode && npm ci --omit=optional --no-audit --no-fund --loglevel=error

# Brings GoogleTest and Neovim first, and configures again, so a build folder made
# before they were there gets its tests.
test:
	$(DEPS) test
	$(CMAKE) -S . -B $(BUILD) $(GEN) -DSCENARIO_WERROR=$(WERROR) -DSCENARIO_REQUIRE_TESTS=ON
	$(CMAKE) --build $(BUILD)
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j2

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize:
	$(DEPS) test
	$(CMAKE) -S . -B build-sanitize $(GEN) -DSCENARIO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DSCENARIO_WERROR=$(WERROR) -DSCENARIO_REQUIRE_TESTS=ON
	$(CMAKE) --build build-sanitize
	cd build-sanitize && ctest --output-on-failure --no-tests=error -j2

# In-process benchmarks, then the whole program timed against copying what it writes.
bench:
	$(DEPS) bench
	$(CMAKE) -S . -B build-bench $(GEN) -DSCENARIO_BENCHMARKS=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=Release
	$(CMAKE) --build build-bench
	build-bench/scenario_bench
	python3 bench/compare_with_floor.py build-bench

# libFuzzer on the compiler and on the decoders behind inspect and plot, on the commit-note
# reader and on the language server's message reader, FUZZ_RUNS inputs each (a million), two
# targets at a time, from the kept corpora; each target's log is build-fuzz/logs/<target>.log
# and its last lines are shown. New findings land in build-fuzz/findings and belong in
# fuzz/corpus, fuzz/decode_corpus, fuzz/note_corpus or fuzz/lsp_corpus once fixed.
# Inputs are short, as nearly every path needs: 4096 bytes, 8192 for the decoders (the
# records file alone takes 2988). Texts past the 65535 bytes a record holds are for
# `make fuzz-long`.
FUZZ_RUNS ?= 1000000
FUZZ_FLAGS = -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=build-fuzz/findings/
FUZZ_RUNS_OF = fuzz-run-compile fuzz-run-decode fuzz-run-note fuzz-run-lsp
fuzz: fuzz-build
	$(MAKE) -j2 $(FUZZ_RUNS_OF)

# The compiler and the decoders with inputs of up to 70000 bytes, FUZZ_LONG_RUNS each, from
# their corpora and the long seeds of fuzz/long_corpus and fuzz/long_decode_corpus (a source
# with a station name past 64 KiB, a records file with a text of 65535 bytes): the texts
# too long for a record. Slower by the length of its inputs.
FUZZ_LONG_RUNS ?= 100000
FUZZ_LONG_RUNS_OF = fuzz-long-compile fuzz-long-decode
fuzz-long: fuzz-build
	$(MAKE) -j2 $(FUZZ_LONG_RUNS_OF)

fuzz-build:
	$(DEPS) fuzz
	CXX=clang++ $(CMAKE) -S . -B build-fuzz $(GEN) -DSCENARIO_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
	$(CMAKE) --build build-fuzz --target scenario_fuzz scenario_decode_fuzz scenario_note_fuzz scenario_lsp_fuzz
	mkdir -p build-fuzz/corpus build-fuzz/decode_corpus build-fuzz/note_corpus build-fuzz/lsp_corpus \
	  build-fuzz/long_corpus build-fuzz/long_decode_corpus build-fuzz/findings build-fuzz/logs

# One target's run: its name, program, the corpus it grows, inputs, longest input, and the
# kept corpora it starts from. Its log is kept and its end shown (the whole log when it
# finds something).
define fuzz_run
	@echo "fuzzing $(1): $(4) inputs of up to $(5) bytes, log in build-fuzz/logs/$(1).log"
	@build-fuzz/$(2) $(FUZZ_FLAGS) -runs=$(4) -max_len=$(5) build-fuzz/$(3) $(6) > build-fuzz/logs/$(1).log 2>&1 \
	  || { cat build-fuzz/logs/$(1).log; exit 1; }
	@grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' build-fuzz/logs/$(1).log \
	  | sed 's/^/  $(1): /'
endef

.PHONY: fuzz-build fuzz-long $(FUZZ_RUNS_OF) $(FUZZ_LONG_RUNS_OF)
fuzz-run-compile:
	$(call fuzz_run,compile,scenario_fuzz,corpus,$(FUZZ_RUNS),4096,fuzz/corpus)
fuzz-run-decode:
	$(call fuzz_run,decode,scenario_decode_fuzz,decode_corpus,$(FUZZ_RUNS),8192,fuzz/decode_corpus)
fuzz-run-note:
	$(call fuzz_run,note,scenario_note_fuzz,note_corpus,$(FUZZ_RUNS),4096,fuzz/note_corpus)
fuzz-run-lsp:
	$(call fuzz_run,lsp,scenario_lsp_fuzz,lsp_corpus,$(FUZZ_RUNS),4096,fuzz/lsp_corpus)
fuzz-long-compile:
	$(call fuzz_run,long-compile,scenario_fuzz,long_corpus,$(FUZZ_LONG_RUNS),70000,fuzz/corpus fuzz/long_corpus)
fuzz-long-decode:
	$(call fuzz_run,long-decode,scenario_decode_fuzz,long_decode_corpus,$(FUZZ_LONG_RUNS),70000,fuzz/decode_corpus fuzz/long_decode_corpus)

# The picture of the built-in scenario that the README shows.
picture: run
	$(BUILD)/scenario-builder plot $(BUILD) -o docs/Milano_Tortona_5.svg

# Rewrites the fault list of docs/source-format.md from the program's fault table and its row
# tables from the row schema (a test fails while they differ).
fault-reference: $(BUILD)/build.ninja
	$(CMAKE) --build $(BUILD) --target scenario-builder scenario-reference-pages
	$(BUILD)/scenario-builder explain --markdown > $(BUILD)/fault-list.md
	awk -v list=$(BUILD)/fault-list.md \
	  '/^<!-- fault list begins/ { print; while ((getline line < list) > 0) print line; skip = 1; next } \
	   /^<!-- fault list ends/ { skip = 0 } !skip' docs/source-format.md \
	  | $(BUILD)/scenario-reference-pages source-format > $(BUILD)/source-format.md
	mv $(BUILD)/source-format.md docs/source-format.md

# Rewrites the manual page and the completion scripts under docs/ from the command tables, and
# the editors' grammar from the row schema (a test fails while they differ).
reference-pages: $(BUILD)/build.ninja
	$(CMAKE) --build $(BUILD) --target scenario-reference-pages
	$(BUILD)/scenario-reference-pages man > docs/man/scenario-builder.1
	$(BUILD)/scenario-reference-pages bash > docs/completions/scenario-builder.bash
	$(BUILD)/scenario-reference-pages zsh > docs/completions/_scenario-builder
	$(BUILD)/scenario-reference-pages fish > docs/completions/scenario-builder.fish
	$(BUILD)/scenario-reference-pages grammar > editors/vscode/syntaxes/scenario-sources.tmLanguage.json

# The page: the compiler and the readers in WebAssembly (Debian's emscripten, in a build
# folder of its own) and the page bundled with its npm packages, as static files in
# build-web/site/.
WEB_PORT ?= 8080
web: web/node_modules/.package-lock.json
	$(DEPS) web
	emcmake $(CMAKE) -S . -B build-web $(GEN) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	# Debian's emscripten runs its JavaScript tools with the node on PATH, which may look for
	# their packages (acorn) only where Debian puts them.
	NODE_PATH=/usr/share/nodejs $(CMAKE) --build build-web --target scenario_web
	node web/bundle.mjs build-web/module build-web/site
	@echo "The page is in build-web/site/; make serve-web serves it."

web/node_modules/.package-lock.json: web/package-lock.json
	$(DEPS) web
	cd web && npm ci --no-audit --no-fund --loglevel=error

# Serves the page on 127.0.0.1 only, at http://127.0.0.1:$(WEB_PORT)/.
serve-web: web
	node web/serve.mjs build-web/site $(WEB_PORT)

# The page in headless chromium, against the files the program writes for the same sources.
test-web: web
	$(MAKE) $(BUILD)/build.ninja
	$(CMAKE) --build $(BUILD) --target scenario-builder generate_route
	SCENARIO_BUILDER=$(BUILD)/scenario-builder GENERATE_ROUTE=$(BUILD)/generate_route \
	  WEB_SITE=build-web/site SCREENSHOT=build-web/page.png node --test web/tests/page_test.mjs

clean:
	rm -rf $(BUILD) build-sanitize build-bench build-fuzz build-web
