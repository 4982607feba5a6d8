#pragma once
// Tests that run against both databases: "Sqlite/..." on a file in a temporary folder, and
// "Postgres/..." on the server that tests/with-postgres starts (its address in SALTFANG_TEST_PG).
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ScoreStore.h"
#include "StoreSql.h"

namespace sf::scores::testing {

class BackendTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    if (GetParam() == "postgres") {
      const char* url = std::getenv("SALTFANG_TEST_PG");
      // Never a silent skip: the PostgreSQL run exists to test PostgreSQL.
      ASSERT_TRUE(url && *url) << "SALTFANG_TEST_PG is not set: run these tests through server/tests/with-postgres";
      url_ = url;
      PGconn* c = PQconnectdb(url_.c_str());
      ASSERT_EQ(PQstatus(c), CONNECTION_OK) << PQerrorMessage(c);
      PQclear(PQexec(c, "SET client_min_messages = warning"));
      PGresult* r = PQexec(c, "DROP SCHEMA public CASCADE; CREATE SCHEMA public");
      ASSERT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << PQerrorMessage(c);
      PQclear(r);
      PQfinish(c);
    } else {
      dir_ = std::filesystem::temp_directory_path() /
             ("sf_store_" + std::to_string(::getpid()) + "_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
      std::filesystem::remove_all(dir_);
      std::filesystem::create_directories(dir_);
      url_ = "sqlite:" + (dir_ / "scores.db").string();
    }
    store_ = Open();
  }
  void TearDown() override {
    store_.reset();
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }
  // Another connection to the same database, as a second instance has.
  std::unique_ptr<ScoreStore> Open() { return OpenStore(url_); }

  // The database as an older instance left it: emptied, the first `migrations` steps of the
  // schema applied, then the rows of `before`. The test's own store must be closed first.
  void RecreateAtMigration(size_t migrations, const std::vector<std::string>& before) {
    if (GetParam() == "postgres") {
      PGconn* c = PQconnectdb(url_.c_str());
      ASSERT_EQ(PQstatus(c), CONNECTION_OK);
      const auto run = [&](const std::string& sql) {
        PGresult* r = PQexec(c, sql.c_str());
        EXPECT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << PQerrorMessage(c);
        PQclear(r);
      };
      run("SET client_min_messages = warning; DROP SCHEMA public CASCADE; CREATE SCHEMA public");
      for (size_t i = 0; i < migrations; ++i) run(PostgresMigrations()[i]);
      for (const std::string& sql : before) run(sql);
      PQfinish(c);
    } else {
      const std::string path = url_.substr(7);
      std::filesystem::remove(path);
      sqlite3* db = nullptr;
      ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
      for (size_t i = 0; i < migrations; ++i)
        ASSERT_EQ(sqlite3_exec(db, SqliteMigrations()[i], nullptr, nullptr, nullptr), SQLITE_OK);
      for (const std::string& sql : before)
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
      sqlite3_close(db);
    }
  }

  std::filesystem::path dir_;
  std::string url_;
  std::unique_ptr<ScoreStore> store_;
};

}  // namespace sf::scores::testing

#define SF_BOTH_DATABASES(Suite)                                                     \
  INSTANTIATE_TEST_SUITE_P(Sqlite, Suite, ::testing::Values(std::string("sqlite"))); \
  INSTANTIATE_TEST_SUITE_P(Postgres, Suite, ::testing::Values(std::string("postgres")))
