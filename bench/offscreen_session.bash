# Sourced by the benchmark scripts that open windows: the offscreen platform,
# and settings, data and runtime folders of the run's own in a scratch folder
# ($scratch) removed at exit, so a run neither reads nor changes the user's.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data \
       XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
