# The main job as a test: the module in the stand-in engine beside a korvat-host process, the whole
# scripted session, checked on the transcript both sides print.
if(TARGET korvat-sandbox)
  set(KORVAT_SANDBOX_LAUNCH_ID 01234567-89AB-CDEF-0123-456789ABCDEF)
  # The demo session records its link's messages and keeps its end state; a fresh sandbox against a host that
  # replays the recording must end in the same state.
  set(KORVAT_SANDBOX_RUN_DIR ${CMAKE_BINARY_DIR}/sandbox-runs)
  file(MAKE_DIRECTORY ${KORVAT_SANDBOX_RUN_DIR})
  add_test(NAME Sandbox.DemoSession
    COMMAND korvat-sandbox --frame-ms 2 --trace demo-trace.jsonl --state demo-state.txt -KorvatLaunchID=${KORVAT_SANDBOX_LAUNCH_ID}
    WORKING_DIRECTORY ${KORVAT_SANDBOX_RUN_DIR})
  add_test(NAME Sandbox.TraceReplay
    COMMAND korvat-sandbox --frame-ms 2 --replay Saved/Logs/demo-trace.jsonl --expect-state demo-state.txt
            -KorvatLaunchID=${KORVAT_SANDBOX_LAUNCH_ID}
    WORKING_DIRECTORY ${KORVAT_SANDBOX_RUN_DIR})
  set_tests_properties(Sandbox.DemoSession PROPERTIES FIXTURES_SETUP SandboxDemoTrace)
  set_tests_properties(Sandbox.TraceReplay PROPERTIES FIXTURES_REQUIRED SandboxDemoTrace TIMEOUT 120
    PASS_REGULAR_EXPRESSION "host 2 +\\| replay finished.*share [0-9a-f_]+ frame [0-9]+: VINT [0-9]+ 6 \\[id 0xF2B8741A.*state: the same as expected.*session complete")
  add_test(NAME Sandbox.NodesSession
    COMMAND korvat-sandbox --session nodes --frame-ms 2)
  add_test(NAME Sandbox.EditorUnderD3D12
    COMMAND korvat-sandbox --editor --rhi D3D12 --session play --frames 8 --frame-ms 2)
  if(NOT WIN32)
    # Named objects and the share channel in folders of the test's own.
    set_tests_properties(Sandbox.DemoSession PROPERTIES ENVIRONMENT
      "KORVAT_IPC_ROOT=/dev/shm/korvat-ctest-sandbox-demo;KORVAT_TEXTURESHARE_DIR=${CMAKE_BINARY_DIR}/sandbox-demo-share")
    set_tests_properties(Sandbox.TraceReplay PROPERTIES ENVIRONMENT
      "KORVAT_IPC_ROOT=/dev/shm/korvat-ctest-sandbox-replay;KORVAT_TEXTURESHARE_DIR=${CMAKE_BINARY_DIR}/sandbox-replay-share")
    set_tests_properties(Sandbox.NodesSession PROPERTIES ENVIRONMENT
      "KORVAT_IPC_ROOT=/dev/shm/korvat-ctest-sandbox-nodes;KORVAT_TEXTURESHARE_DIR=${CMAKE_BINARY_DIR}/sandbox-nodes-share")
    set_tests_properties(Sandbox.EditorUnderD3D12 PROPERTIES ENVIRONMENT
      "KORVAT_IPC_ROOT=/dev/shm/korvat-ctest-sandbox-d3d12;KORVAT_TEXTURESHARE_DIR=${CMAKE_BINARY_DIR}/sandbox-d3d12-share")
  endif()
  # The launch id from the command line names the share object, the host's value comes back under the
  # "_synced" id, the host restart is survived and the session ends.
  set_tests_properties(Sandbox.DemoSession PROPERTIES TIMEOUT 120
    PASS_REGULAR_EXPRESSION "launch \\{01234567-89AB-CDEF-0123-456789ABCDEF\\}.*share 123456789abcdef67452301efcdab89_ frame [0-9]+: VINT [0-9]+ 5 \\[id 0xF2B8741A.*host 2 +\\| slot 0: connected.*session complete")
  # The data act: the Blueprint reads the host's values by name and its method runs.
  set_tests_properties(Sandbox.DemoSession PROPERTIES FAIL_REGULAR_EXPRESSION "not available")
  # The editor act: Do Sync, the host's answer as pins, the compiled graph passing the host's value on, the
  # editor's own answer to the host (the share watcher may print the value after or before that answer).
  set_tests_properties(Sandbox.NodesSession PROPERTIES TIMEOUT 120
    PASS_REGULAR_EXPRESSION "\"Do Sync\" clicked.*rebuilt the node's pins: .*in width_int \\(int\\), in on_bool \\(bool\\).*compiled: 3 calls \\(GetKorvatIntValueByNodeName, SendKorvatIntValueByNodeName, SendKorvatBoolValueByNodeName\\), 0 errors.*graph ran: Door.Width read 95 \\(available\\).*(VINT lamp.width 95 .*received: FLDS \\{[-0-9A-F]+\\} 1/0/\"width\" 2/0/\"on\"|received: FLDS \\{[-0-9A-F]+\\} 1/0/\"width\" 2/0/\"on\".*VINT lamp.width 95 ).*session complete")
  set_tests_properties(Sandbox.EditorUnderD3D12 PROPERTIES TIMEOUT 120
    PASS_REGULAR_EXPRESSION "log: Korvat texture share requires using the DirectX 11 rendering backend, please switch your project to it\\..*received: VERR \"ERROR: Unreal D2I requires using the DirectX 11 rendering backend, please switch your Unreal project to it\\.\\\\n\".*received: TSHR 0.*session complete"
    FAIL_REGULAR_EXPRESSION "received: TSHR 1")
endif()
