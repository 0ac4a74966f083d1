// Starts `scenario-builder lsp` for the line and service sources.
const vscode = require('vscode');
const { LanguageClient } = require('vscode-languageclient/node');

let client;

function activate() {
  const command = vscode.workspace.getConfiguration('scenarioBuilder').get('path', 'scenario-builder');
  client = new LanguageClient(
    'scenario-builder',
    'scenario-builder',
    { command, args: ['lsp'] },
    {
      documentSelector: [
        { scheme: 'file', language: 'scenario-line' },
        { scheme: 'file', language: 'scenario-service' },
      ],
    },
  );
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
