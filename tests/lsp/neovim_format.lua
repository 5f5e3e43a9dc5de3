-- Driven by neovim_test.sh: opens VEM_FILE, starts the language server for
-- it, formats it through the client's own formatting call (the whole buffer,
-- or with VEM_RANGE="FIRST:LAST" those lines), writes it and quits. Every
-- wait has a deadline; missing one quits with status 1 and says why.
local program = os.getenv('VEMRAFMT')
local file = os.getenv('VEM_FILE')
local range = os.getenv('VEM_RANGE') or ''
local deadline_ms = 20000

local function fail(message)
  io.stderr:write('neovim: ' .. message .. '\n')
  vim.cmd('cquit 1')
end

vim.cmd('edit ' .. vim.fn.fnameescape(file))
local buffer = vim.api.nvim_get_current_buf()
local client_id = vim.lsp.start_client({
  name = 'vemrafmt',
  cmd = { program, '-lsp=1' },
  root_dir = vim.fn.fnamemodify(file, ':h'),
})
if not client_id then fail('the client did not start the server') end
vim.lsp.buf_attach_client(buffer, client_id)
local ready = vim.wait(deadline_ms, function()
  local client = vim.lsp.get_client_by_id(client_id)
  return client ~= nil and client.initialized
end, 20)
if not ready then fail('the server did not answer initialize in time') end

if range == '' then
  vim.lsp.buf.formatting_sync(nil, deadline_ms)
else
  local first, last = range:match('^(%d+):(%d+)$')
  local tick = vim.api.nvim_buf_get_changedtick(buffer)
  -- The first and last line as the marks of a selection give them: the
  -- client counts the character under the end mark in.
  vim.lsp.buf.range_formatting({}, { tonumber(first), 0 }, { tonumber(last), 0 })
  local changed = vim.wait(deadline_ms, function()
    return vim.api.nvim_buf_get_changedtick(buffer) ~= tick
  end, 20)
  if not changed then fail('the range format changed nothing in time') end
end

vim.cmd('write')
vim.lsp.stop_client(client_id)
vim.cmd('qall!')
