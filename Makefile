# The two commands of the README:
#   make demo   installs what is missing, builds, runs `jxut demo` over samples/
#   make test   installs what is missing, builds, runs every test leg
.PHONY: demo test native-deps windows-deps format

demo: native-deps
	@cmake --preset dev >/dev/null
	@cmake --build --preset dev --target jxut
	./build/dev/bin/jxut demo samples

test: windows-deps
	@bash cmake/run-tests.sh

native-deps:
	@bash cmake/install-deps.sh native

windows-deps:
	@bash cmake/install-deps.sh windows

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i
